#pragma once

#include <ctime>
#include <string>

namespace talk::voice {

/** Name of the result log in the installation folder. */
inline constexpr const char* kResultLogName = "/result.log";

/** Reason a denial gives when its reading was a replay of one the system had accepted. */
inline constexpr const char* kCapturedReason = "replay of an accepted reading";

/**
 * One result line: "[YY-MM-DD HH:MM:SS] id : Purpose : Accept|Denied\n". A denial with a reason ends
 * "Denied (reason)", so that readers which look at the first word of the last field still see a denial.
 */
std::string FormatResultLine(
    const std::tm& when, const std::string& userId, int purpose, bool accepted, const std::string& reason = {});

/** Appends `line` to `appPath` + "/result.log" (created 0600). False when it cannot be written. Never throws. */
bool AppendResultLine(const std::string& appPath, const std::string& line) noexcept;

} // namespace talk::voice
