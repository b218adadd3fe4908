#pragma once

namespace screenveil {

/**
 * The lock-down while the screen is locked. On the NT family it is the policy value that keeps the task
 * manager away ("DisableTaskMgr" under the current user's system policies, in the registry stand-in); the 9x
 * family told the system that a screen saver runs instead, which has nothing to stand for here. A killed
 * lock leaves the value set, as the desktop's own lock-down would.
 * @return true when the value was written, or when the family has none to write.
 */
bool SetLockDown(bool locked);

} // namespace screenveil
