#include "SystemRoot.h"

#include "Environment.h"
#include "OwnerOnlyMode.h"

#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A path this long is a mistake in the environment, not a folder anyone means.
constexpr std::size_t kMaxRootLength = 3072;

bool AcceptAbsolute(const char* variable, const std::string& text, std::filesystem::path& out, std::string& error)
{
    if (text.size() > kMaxRootLength) {
        error = std::string(variable) + " is longer than " + std::to_string(kMaxRootLength) + " bytes";
        return false;
    }
    std::filesystem::path path(text);
    if (!path.is_absolute()) {
        error = std::string(variable) + " is not an absolute path: " + text;
        return false;
    }
    out = path.lexically_normal();
    return true;
}

std::filesystem::path Below(const char* name)
{
    std::filesystem::path root = SystemRoot();
    return root.empty() ? root : root / name;
}

} // namespace

bool ResolveSystemRoot(std::filesystem::path& root, std::string& error)
{
    root.clear();
    if (const std::optional<std::string> explicitRoot = EnvironmentText("WARDEN_ROOT")) {
        return AcceptAbsolute("WARDEN_ROOT", *explicitRoot, root, error);
    }
    std::filesystem::path dataHome;
    if (const std::optional<std::string> xdg = EnvironmentText("XDG_DATA_HOME")) {
        // The XDG rules say a relative XDG_DATA_HOME is invalid and must be ignored.
        std::string ignored;
        if (!AcceptAbsolute("XDG_DATA_HOME", *xdg, dataHome, ignored)) {
            dataHome.clear();
        }
    }
    if (dataHome.empty()) {
        const std::optional<std::string> home = EnvironmentText("HOME");
        if (!home) {
            error = "neither WARDEN_ROOT, XDG_DATA_HOME nor HOME names a folder for the system root";
            return false;
        }
        if (!AcceptAbsolute("HOME", *home, dataHome, error)) {
            return false;
        }
        dataHome = dataHome / ".local" / "share";
    }
    root = dataHome / "deskwarden";
    return true;
}

std::filesystem::path SystemRoot()
{
    std::filesystem::path root;
    std::string error;
    if (!ResolveSystemRoot(root, error)) {
        return {};
    }
    return root;
}

std::filesystem::path RegistryFolder()
{
    return Below("registry");
}

std::filesystem::path AccountsDatabasePath()
{
    return Below("accounts.db");
}

std::filesystem::path SystemFolder()
{
    return Below("system");
}

std::filesystem::path WindowsFolder()
{
    return Below("windows");
}

std::filesystem::path MediaFolder()
{
    return Below("media");
}

std::filesystem::path DefaultProgramFolder()
{
    return Below("program");
}

bool EnsureFolder(const std::filesystem::path& folder, std::string& error)
{
    if (folder.empty()) {
        error = "no folder named (the system root is not set)";
        return false;
    }
    std::filesystem::path partial;
    for (const std::filesystem::path& part : folder) {
        partial /= part;
        // Made 0700 whatever the umask: these folders hold the stores, which are their owner's alone.
        if (::mkdir(partial.c_str(), kPrivateFolderMode) == 0) {
            ::chmod(partial.c_str(), kPrivateFolderMode);
        }
    }
    // Opening it proves it is a folder, and lets an earlier version's looser folder be tightened.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot create the folder " + folder.string();
        return false;
    }
    TightenToOwner(fd);
    ::close(fd);
    return true;
}

} // namespace platform
