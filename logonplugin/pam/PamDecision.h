#pragma once

#include "HelperRun.h"

#include <string>

namespace wardengate::pam {

/** The module's answer to the stack and what goes to the auth log with it. */
struct PamDecision
{
    int code = 0; // a PAM_* return code
    std::string result; // accept, deny, unknown, unavailable, timeout, crash
    std::string reason;
    std::string score = "-";
};

/**
 * Turns how the helper ended into the module's answer. Only a helper that exited normally with status 0 after
 * a well-formed "result accept" line gives PAM_SUCCESS. A judged and refused voice is PAM_AUTH_ERR; a user
 * the installation does not serve is PAM_IGNORE; everything that kept the voice from being judged (no
 * trusted installation, damaged stores, no sound input, a helper that could not start, crashed, timed out
 * or said nothing sensible) is PAM_AUTHINFO_UNAVAIL.
 */
PamDecision DecideFromHelper(const HelperRun& run);

} // namespace wardengate::pam
