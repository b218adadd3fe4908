#pragma once

#include <string>
#include <vector>

namespace screenveil {

/** The most processes looked at; a longer process table is cut there. */
inline constexpr std::size_t kMostProcesses = 1024;

/**
 * The name each running process was started under, read from `procRoot` (normally "/proc"): the kernel's
 * command name, which keeps the name of a symbolic link it was started through. A process that ends while
 * it is read is left out; an unreadable table gives an empty list.
 */
std::vector<std::string> RunningProcessNames(const std::string& procRoot);

/** True when one of `names` equals `name`, ASCII letters compared without regard to case. */
bool HasProcessNamed(const std::vector<std::string>& names, const std::string& name);

} // namespace screenveil
