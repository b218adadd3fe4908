#pragma once

#include <functional>
#include <string>

namespace halvox {

/** A local calendar date and wall-clock time. */
struct LocalDateTime
{
    int year = 2000; ///< full year
    int month = 1; ///< 1 ... 12
    int day = 1; ///< 1 ... 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

/** Where an operation takes "now" from; tests substitute a fixed time. */
using LocalClock = std::function<LocalDateTime()>;

/** The machine's local time now. */
LocalDateTime SystemLocalTime();

/** "MM/DD/YY" (the year modulo 100), two digits each. */
std::string FormatShortDate(const LocalDateTime& when);

/** "HH:MM:SS", two digits each. */
std::string FormatShortTime(const LocalDateTime& when);

} // namespace halvox
