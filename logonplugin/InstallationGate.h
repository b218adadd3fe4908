#pragma once

#include <string>
#include <sys/types.h>

namespace wardengate {

/**
 * Decides whether the registered installation may be trusted by a program that logs people on. The system
 * root must belong to root or to `mayOwn` (anyone else could plant a voice or a password), and the strict
 * check of the stores must find nothing: no store, folder or folder above them that another can change, no
 * store another can read.
 * @return true with the installation folder in `appPath`; false with the reason in `reason`.
 */
bool TrustInstallation(uid_t mayOwn, std::string& appPath, std::string& reason);

} // namespace wardengate
