#pragma once

namespace screenveil {

/**
 * The policy value that keeps the task manager away while the screen is locked ("DisableTaskMgr" under the
 * current user's system policies), written through the registry stand-in. A killed lock leaves it set, as
 * the desktop's own lock-down would.
 * @return true when the value was written.
 */
bool SetTaskManagerDisabled(bool disabled);

} // namespace screenveil
