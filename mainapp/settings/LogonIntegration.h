#pragma once

#include <span>
#include <string>

// The voice logon for the whole machine, as the registry stand-in records it. On the NT family the logon
// host's module replaces the system's own logon module ("GinaDLL") and is pointed at the voice plug-in with
// its whole configuration; on the 9x family the lock screen starts with the system in lock mode instead.
// Registry failures are not reported: the settings page reads the registry back the next time it opens.
namespace deskwarden::settings::logon {

inline constexpr const char* kWinlogonKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
inline constexpr const char* kHostKey = "SOFTWARE\\pGina";
inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\run";
inline constexpr const char* kModuleValue = "GinaDLL";
inline constexpr const char* kRunValue = "Marlow";
/** The logon host's module and the voice plug-in, both placed in the system folder by the installation. */
inline constexpr const char* kLogonModule = "WardenSeal.so";
inline constexpr const char* kVoicePlugin = "WardenGate.so";
/** What the run value starts: the lock screen, locking at once. */
inline constexpr const char* kLockCommand = "ScreenVeil /k";

/** One value of the logon host's configuration: a text, or a 32-bit number when `text` is null. */
struct HostValue
{
    const char* name;
    const char* text;
    int number;
};

/** The host's configuration in the order it is written; "pathPlugin" is written from the system folder. */
std::span<const HostValue> HostValues();

/** Whether the voice logon is installed: the module value (NT) or the run value (9x) names ours. */
bool IsOn(bool ntFamily);

/**
 * Installs the voice logon. NT: "GinaDLL" names `systemFolder`/kLogonModule, and every host value is written
 * anew. 9x: the run value starts `programFolder`/kLockCommand. Each value is one open, write and close.
 */
void SwitchOn(bool ntFamily, const std::string& systemFolder, const std::string& programFolder);

/** Removes "GinaDLL" (NT; the host's configuration stays) or the run value (9x). */
void SwitchOff(bool ntFamily);

/** Whether a module value names our logon module, in any folder and any case. */
bool NamesLogonModule(const std::string& value);

/** Whether a run value starts our lock command, from any folder and in any case. */
bool NamesLockCommand(const std::string& value);

} // namespace deskwarden::settings::logon
