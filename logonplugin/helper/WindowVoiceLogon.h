#pragma once

#include "VoiceVerdict.h"

#include <functional>
#include <string>

namespace wardengate {

struct LogonStores;

/**
 * The voice logon in the voice dialog's window, for a session with a display: the dialog verifies `user`
 * by voice alone for the purpose Logon and starts each reading by itself, up to `attempts` times; the
 * settings' last user is left as it was. Messages the dialog would box go to `info` instead, since nobody
 * may be there to close a box in time. Needs a QApplication.
 */
VoiceVerdict RunWindowVoiceLogon(
    LogonStores& stores, const std::string& user, int attempts, const std::function<void(const std::string&)>& info);

} // namespace wardengate
