#pragma once

#include <string>

namespace wardenctl {

/** The first line of `path`, without its line end. @return false with `error` set. */
[[nodiscard]] bool ReadPasswordFile(const std::string& path, std::string& password, std::string& error);

/** Asks `prompt` on the controlling terminal with echo off. @return false when there is no terminal. */
[[nodiscard]] bool ReadPasswordFromTerminal(const std::string& prompt, std::string& password, std::string& error);

} // namespace wardenctl
