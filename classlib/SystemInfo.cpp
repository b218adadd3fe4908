#include "SystemInfo.h"

#include <platform/BoundaryGuard.h>

using namespace platform;

CSystemInfo::~CSystemInfo() = default;

int CSystemInfo::VersionCodeOf(const OSVERSIONINFO& info)
{
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return 0;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (info.dwMinorVersion == 0) {
            return 1;
        }
        if (info.dwMinorVersion == 10) {
            return 2;
        }
        return info.dwMinorVersion == 90 ? 3 : 7;
    case VER_PLATFORM_WIN32_NT:
        if (info.dwMajorVersion < 5) {
            return 4;
        }
        if (info.dwMajorVersion == 5 && info.dwMinorVersion == 0) {
            return 5;
        }
        return (info.dwMajorVersion == 5 && info.dwMinorVersion == 1) ? 6 : 7;
    default:
        return 7;
    }
}

int CSystemInfo::GetOSVersion()
{
    OSVERSIONINFO info;
    platform::GetVersionEx(info);
    return VersionCodeOf(info);
}

int CSystemInfo::IsOSNT()
{
    return GetOSVersion() == 5 ? 1 : 0;
}

int CSystemInfo::GetBootMode()
{
    return platform::GetBootMode();
}

void CSystemInfo::SystemReboot()
{
    // A refused restart is not reported: the caller has nothing left to do about it.
    platform::GuardedCall([] { static_cast<void>(platform::SystemReboot()); });
}
