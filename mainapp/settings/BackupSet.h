#pragma once

#include <optional>
#include <string>

// A backup set: the user dictionary and the voice dictionary, copied unchanged into one folder.
namespace deskwarden::settings::backup {

inline constexpr const char* kUserFile = "halvoxuid.dat";
inline constexpr const char* kVoiceFile = "halvoxuvd.dat";

/** The two files of a backup set. */
struct BackupFiles
{
    std::string userFile;
    std::string voiceFile;
};

/** The backup set in `folder`; nullopt unless both files are there as regular files. */
std::optional<BackupFiles> FindBackup(const std::string& folder);

/**
 * Copies the two dictionaries of the installation `appPath` into `folder`, replacing earlier copies. Each
 * copy is read under the store's lock, so that no copy catches a change half made.
 * @return true when both were copied; false with the reason in `error`.
 */
bool CopyToFolder(const std::string& appPath, const std::string& folder, std::string& error);

} // namespace deskwarden::settings::backup
