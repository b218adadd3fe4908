#include "lock/LockDown.h"

#include "Setup/RegistryEx.h"

namespace screenveil {

namespace {

constexpr const char* kPolicyKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr const char* kDisableTaskMgr = "DisableTaskMgr";

} // namespace

bool SetTaskManagerDisabled(bool disabled)
{
    CRegistryEx registry(platform::HKEY_CURRENT_USER);
    if (registry.CreateKey(platform::HKEY_CURRENT_USER, kPolicyKey) == 0)
        return false;
    return registry.Write(kDisableTaskMgr, static_cast<unsigned long>(disabled ? 1 : 0)) != 0;
}

} // namespace screenveil
