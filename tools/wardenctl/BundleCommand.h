#pragma once

#include "CtlArguments.h"

#include <ostream>
#include <string>

namespace wardenctl {

/**
 * "bundle pack|list|unpack": bundles of the tray program's format from the command line. Packing and
 * unpacking act for a user of the installation who proves himself with his password, read from the
 * terminal or from --password-file. @return 0 done, 1 refused or a damaged bundle, 2 a usage error.
 */
int BundleCommand(const Arguments& arguments, const std::string& appPath, std::ostream& out, std::ostream& err);

} // namespace wardenctl
