#include "app/RunValue.h"

#include <platform/Registry.h>

namespace deskwarden::app {

std::string RunValueText(const std::string& appPath)
{
    return appPath + "/DeskWarden";
}

bool WriteRunValue(const std::string& appPath)
{
    using namespace platform;
    HKEY key {};
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, kRunKey, KEY_ALL_ACCESS, &key, nullptr) != ERROR_SUCCESS)
        return false;
    // Stored without a terminating zero: readers of this value take its length from the value's size.
    const std::string text = RunValueText(appPath);
    const LSTATUS status = RegSetValueEx(key, kRunValueName, REG_SZ, reinterpret_cast<const std::uint8_t*>(text.data()),
        static_cast<DWORD>(text.size()));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

} // namespace deskwarden::app
