#pragma once

#include "VoiceVerdict.h"

#include <functional>
#include <string>

namespace wardengate {

/**
 * The voice logon in the logon plug-in's window, for a session with a display: the window verifies `user` by
 * voice alone for the purpose Logon with the logon's prompts, opening the registered installation's stores
 * itself, and starts each reading by itself, up to `attempts` times. Messages the dialog would box go to
 * `info` instead, since nobody may be there to close a box in time. The verdict carries the engine's score of
 * the last reading. Needs a QApplication.
 */
VoiceVerdict RunWindowVoiceLogon(
    const std::string& user, int attempts, const std::function<void(const std::string&)>& info);

} // namespace wardengate
