#include "lock/LockDown.h"

#include "Setup/RegistryEx.h"
#include "SystemInfo.h"

namespace screenveil {

namespace {

constexpr const char* kPolicyKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr const char* kDisableTaskMgr = "DisableTaskMgr";
// Version codes from 4 on have the NT family's platform in their version record.
constexpr int kFirstNtVersion = 4;

} // namespace

bool SetLockDown(bool locked)
{
    if (CSystemInfo().GetOSVersion() < kFirstNtVersion)
        return true;
    CRegistryEx registry(platform::HKEY_CURRENT_USER);
    if (registry.CreateKey(platform::HKEY_CURRENT_USER, kPolicyKey) == 0)
        return false;
    return registry.Write(kDisableTaskMgr, static_cast<unsigned long>(locked ? 1 : 0)) != 0;
}

} // namespace screenveil
