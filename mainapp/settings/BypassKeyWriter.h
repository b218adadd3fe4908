#pragma once

#include <platform/RemovableDrives.h>

#include <string>
#include <vector>

class CSetupSecure;

// Writing a new by-pass key to the root of a removable drive. The newest key is the only valid one.
namespace deskwarden::settings::bypass_key {

inline constexpr const char* kKeyFileName = "halvox.key";

/** How writing a key ended. */
enum class WriteResult
{
    Written,
    NotRecorded, // no key could be made or recorded: nothing changed
    NotSaved, // the key is recorded, but its file could not be written
};

/** The popup menu's item for a drive: "Removable Drive(D:)" or "CD-ROM Drive (E:)". */
std::string MenuItemText(const platform::RemovableDrive& drive);

/** The drive dialog's entry for a drive: "[D:] Removable Drive" or "[E:] CD-ROM Drive". */
std::string ListEntryText(const platform::RemovableDrive& drive);

/**
 * Makes a new key, records it as the only valid one, then writes its text (no terminator) to
 * `driveFolder`/halvox.key, replacing any file there. The key stays recorded when the file fails.
 */
WriteResult WriteNewKey(CSetupSecure& secure, const std::string& driveFolder);

} // namespace deskwarden::settings::bypass_key
