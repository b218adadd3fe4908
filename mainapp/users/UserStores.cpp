#include "users/UserStores.h"

#include "AppUserVoiceDic.h"

#include <platform/SystemInformation.h>

#include <filesystem>

namespace deskwarden::users {

bool IsNtFamily()
{
    platform::OSVERSIONINFO info;
    platform::GetVersionEx(info);
    return info.dwPlatformId == platform::VER_PLATFORM_WIN32_NT;
}

void RemoveTemporaryModel(const UserStores& stores, const std::string& nick)
{
    if (nick.empty()) {
        return;
    }
    std::error_code ignored;
    std::filesystem::remove(stores.voices.GetWorkFolder() + nick + ".bin", ignored);
}

} // namespace deskwarden::users
