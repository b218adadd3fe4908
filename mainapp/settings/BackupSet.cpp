#include "settings/BackupSet.h"

#include "AtomicFile.h"
#include "FileLock.h"

#include <filesystem>

namespace deskwarden::settings::backup {

namespace {

bool CopyOne(const std::string& from, const std::string& to, std::string& error)
{
    std::string bytes;
    {
        const talk::FileLock lock(from, talk::FileLock::Kind::Shared);
        if (!lock.IsHeld()) {
            error = lock.ErrorText();
            return false;
        }
        if (!talk::ReadWholeFile(from, bytes, error))
            return false;
    }
    return talk::ReplaceFileAtomically(to, bytes, error);
}

} // namespace

std::optional<BackupFiles> FindBackup(const std::string& folder)
{
    BackupFiles files {folder + "/" + kUserFile, folder + "/" + kVoiceFile};
    std::error_code ec;
    if (!std::filesystem::is_regular_file(files.userFile, ec) || !std::filesystem::is_regular_file(files.voiceFile, ec))
        return std::nullopt;
    return files;
}

bool CopyToFolder(const std::string& appPath, const std::string& folder, std::string& error)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        error = "no folder " + folder;
        return false;
    }
    return CopyOne(appPath + "/" + kUserFile, folder + "/" + kUserFile, error)
        && CopyOne(appPath + "/" + kVoiceFile, folder + "/" + kVoiceFile, error);
}

} // namespace deskwarden::settings::backup
