#pragma once

#include <string>

namespace wardengate {

/**
 * The host's own test accounts: "adminuser", "reguser" and "otheruser", compared byte for byte. A known
 * name writes its fields into the host's user-information record (`record`, laid out as HostUserInfo); any
 * other name writes the error message. The texts are fresh strdup copies that the host owns.
 * @return 1 for a known name, 0 otherwise.
 */
int FillTestAccount(const std::string& userName, void* record) noexcept;

} // namespace wardengate
