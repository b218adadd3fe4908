#pragma once

#include "LogonSession.h"

#include <cstdio>

namespace wardengate {

/**
 * One logon dialog from start to end on the registered installation, in a window shown modally on the calling
 * thread. Uses the host's QApplication when it has one; otherwise makes one for the call and tears it down
 * before returning. An installation that the strict check of the stores refuses lets nobody in, nor does a
 * host whose application cannot show widgets; the reason goes to `errors`. Builds its window, stores and engine
 * session and destroys them again, so nothing is kept from one logon to the next.
 */
LogonOutcome RunWindowLogon(std::FILE* errors);

} // namespace wardengate
