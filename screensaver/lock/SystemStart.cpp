#include "lock/SystemStart.h"

#include "app/InstanceGuard.h"
#include "app/SessionFrame.h"
#include "rules/ProcessNames.h"

namespace screenveil {

namespace {

constexpr int kDeliveryTimeoutMs = 2000;

} // namespace

bool RequestLockFromTray(const std::string& procRoot, std::string& error)
{
    if (HasProcessNamed(RunningProcessNames(procRoot), kLockProgramName)) {
        error = "a lock already runs";
        return false;
    }
    using deskwarden::app::InstanceGuard;
    using deskwarden::app::SessionFrame;
    return InstanceGuard::SendToRunning(
        {SessionFrame {deskwarden::app::kFrameLockScreen, {}}}, kDeliveryTimeoutMs, error);
}

} // namespace screenveil
