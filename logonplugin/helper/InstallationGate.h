#pragma once

#include "VoiceVerdict.h"

#include <string>

namespace wardengate {

/**
 * Decides whether the system-wide installation may be trusted to log `user` on. The system root must belong
 * to root or to that user himself (anyone else could plant a voice for him), and the strict check of the
 * stores must find nothing: no store, folder or folder above them that another can change, no store another
 * can read.
 * @return true with the installation folder in `appPath`; false with the refusal in `verdict`.
 */
bool TrustInstallation(const std::string& user, std::string& appPath, VoiceVerdict& verdict);

} // namespace wardengate
