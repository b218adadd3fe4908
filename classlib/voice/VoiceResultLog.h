#pragma once

#include <ctime>
#include <string>

namespace talk::voice {

/** Name of the result log in the installation folder. */
inline constexpr const char* kResultLogName = "/result.log";

/** One result line: "[YY-MM-DD HH:MM:SS] id : Purpose : Accept|Denied\n". */
std::string FormatResultLine(const std::tm& when, const std::string& userId, int purpose, bool accepted);

/** Appends `line` to `appPath` + "/result.log" (created 0600). False when it cannot be written. Never throws. */
bool AppendResultLine(const std::string& appPath, const std::string& line) noexcept;

} // namespace talk::voice
