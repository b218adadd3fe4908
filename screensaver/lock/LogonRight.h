#pragma once

#include <string>

namespace screenveil {

/**
 * Asks the installation's user dictionary itself whether `userId` may log on. The lock asks it again after
 * the voice check said so, so that a check that named the wrong user still cannot open the screen.
 * @return true only for a user found with a logon permission other than 0; false for anything unreadable.
 */
bool HasLogonRight(const std::string& appPath, const std::string& userId);

} // namespace screenveil
