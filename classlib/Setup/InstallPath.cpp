#include "Setup/InstallPath.h"

#include "Setup/RegistryEx.h"

namespace talk {

std::string ReadInstallPath()
{
    CRegistryEx registry(platform::HKEY_LOCAL_MACHINE);
    std::string path;
    if (!registry.VerifyKey(platform::HKEY_LOCAL_MACHINE, kProgramKey) || !registry.Read(kAppPathValue, path)) {
        return {};
    }
    return path;
}

bool WriteInstallPath(std::string path)
{
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    // A longer value would be stored but could never be read back, which would lose the installation.
    if (path.empty() || path.size() > kMaxRegistryTextBytes) {
        return false;
    }
    CRegistryEx registry(platform::HKEY_LOCAL_MACHINE);
    return registry.CreateKey(platform::HKEY_LOCAL_MACHINE, kProgramKey) && registry.Write(kAppPathValue, path);
}

} // namespace talk
