#pragma once

#include "CtlArguments.h"

#include <ostream>

namespace wardenctl {

/** Exit codes of the tool. */
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

/** Runs one parsed command against the stores of the installation; reports to `out` and `err`. */
int RunCommand(const Arguments& arguments, std::ostream& out, std::ostream& err);

} // namespace wardenctl
