#pragma once

#include <cstdio>
#include <string>

namespace wardengate {

/** What one logon dialog ended with: result 1 with the account and password to log on with, else 2. */
struct LogonOutcome
{
    int result = 2;
    std::string userId;
    std::string password;
};

/**
 * One logon dialog from start to end on the registered installation, on a terminal: prompts to `labels`,
 * the user's lines from `input`. An installation that the strict check of the stores refuses lets nobody in.
 * Builds its stores, engine session and window and destroys them again, so nothing is kept from one logon to
 * the next.
 */
LogonOutcome RunTerminalLogon(std::FILE* input, std::FILE* labels);

} // namespace wardengate
