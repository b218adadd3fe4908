#pragma once

#include "VoiceVerdict.h"

#include <functional>
#include <string>

namespace wardengate {

struct LogonStores;

/** Where the voice logon of the helper reports while it runs. */
struct VoiceLogonReport
{
    std::function<void(const std::string&)> info; // a prompt or the word to say, for the user
    std::function<void()> readingEnded; // a reading has been taken
    // Set for a session with a display: runs the readings in a window instead of through `info`.
    std::function<VoiceVerdict(LogonStores&)> window;
};

/**
 * Logs `user` on by voice alone against the registered installation, which the caller has already trusted:
 * up to `attempts` readings of one of his words. A user the installation does not know, who lacks the logon
 * permission or has no enrolled word is Unknown; stores that cannot be opened or a sound input that cannot
 * be opened make it Unavailable. Only an accepted reading is Accept.
 */
VoiceVerdict RunVoiceLogon(const std::string& user, int attempts, const VoiceLogonReport& report);

} // namespace wardengate
