#pragma once

#include "TalkExport.h"

#include <platform/SystemInformation.h>

/**
 * The Windows version the suite runs as, the boot mode, and the restart. Holds no data; nothing throws.
 *
 * Version codes: 0 Win32s, 1 95, 2 98, 3 Me, 4 NT below 5, 5 2000, 6 XP, 7 anything else.
 */
class TALK_API CSystemInfo
{
public:
    CSystemInfo() = default;
    CSystemInfo(const CSystemInfo&) = default;
    CSystemInfo& operator=(const CSystemInfo&) = default;
    virtual ~CSystemInfo();

    /** The version code of the running system. */
    int GetOSVersion();
    /** 1 exactly when GetOSVersion() is 5; 0 for every other code, 4 and 6 included. */
    int IsOSNT();
    /** 0 normal, 1 fail-safe, 2 fail-safe with network. */
    int GetBootMode();
    /** Asks the system to restart; a refused restart is not reported. */
    void SystemReboot();

    /** The version code of a version record (the mapping GetOSVersion applies). */
    static int VersionCodeOf(const platform::OSVERSIONINFO& info);
};
