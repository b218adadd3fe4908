#include "app/FirstRunSetup.h"

#include "Setup/SetupFile.h"
#include "Setup/SetupSecure.h"

#include <platform/Environment.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace deskwarden::app {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSecureFolderName = "WdvDocs";

} // namespace

std::string MountRootOf(const std::string& start)
{
    fs::path path = start;
    std::error_code ec;
    path = fs::absolute(path, ec).lexically_normal();
    struct stat info
    {
    };
    while (::stat(path.c_str(), &info) != 0 && path.has_parent_path() && path != path.parent_path())
        path = path.parent_path();
    const dev_t device = info.st_dev;
    while (path.has_parent_path() && path != path.parent_path()) {
        struct stat parent
        {
        };
        if (::stat(path.parent_path().c_str(), &parent) != 0 || parent.st_dev != device)
            break;
        path = path.parent_path();
    }
    return path.string();
}

std::vector<std::string> FirstRunImages(const std::string& appPath)
{
    std::vector<std::string> files;
    for (int i = 1; i <= 5; ++i)
        files.push_back(appPath + "/images/screen0" + std::to_string(i) + ".bmp");
    return files;
}

std::string ChooseSecureFolder(const std::string& diskRoot, bool writable, const std::string& home)
{
    return ((writable ? fs::path(diskRoot) : fs::path(home)) / kSecureFolderName).string();
}

std::string FirstRunSecureFolder(const std::string& imagesFolder, const std::string& home)
{
    const std::string root = MountRootOf(imagesFolder);
    return ChooseSecureFolder(root, ::access(root.c_str(), W_OK) == 0, home);
}

bool CompleteFirstRun(CSetupFile& setup, std::string& error)
{
    const std::string appPath = setup.GetAppPath();
    if (setup.SetScrImageFile(FirstRunImages(appPath)) != 1) {
        error = "the slide pictures could not be stored in the settings";
        return false;
    }
    const std::string home = platform::EnvironmentText("HOME").value_or("/");
    if (setup.SetAppSecureFolder(FirstRunSecureFolder(appPath + "/images", home)) != 1) {
        error = "the folder for decrypted files could not be stored in the settings";
        return false;
    }
    CSetupSecure& secure = setup.GetSetupSecure();
    CSetupSecure::tagSecureSettings settings;
    if (secure.GetAppSettings(settings) != 1) {
        error = "the secure settings cannot be read";
        return false;
    }
    settings.firstRun = 0;
    if (secure.SetAppSettings(settings) != 1) {
        error = "the secure settings could not be written";
        return false;
    }
    if (setup.SetScrComment(kFirstRunComment) != 1) {
        error = "the lock screen's note could not be stored in the settings";
        return false;
    }
    return true;
}

} // namespace deskwarden::app
