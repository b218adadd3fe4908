#pragma once

#include "CtlArguments.h"

#include <ostream>
#include <string>

namespace wardenctl {

/**
 * "transfer send ID --to HOST[:PORT]" and "transfer receive [--port P] [--accept]": users with their voice
 * models between two installations, in the tray program's protocol. Receiving waits for one message, asks on
 * the terminal unless --accept, imports and ends. @return 0 when the user arrived (sending: the receiver said
 * so), 1 when declined, kept, refused or unanswered, 2 on a usage error.
 */
int UserTransferCommand(const Arguments& arguments, const std::string& appPath, std::ostream& out, std::ostream& err);

} // namespace wardenctl
