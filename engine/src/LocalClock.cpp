#include "LocalClock.h"

#include <cstdio>
#include <ctime>

namespace halvox {

namespace {

std::string TwoDigitTriple(int first, int second, int third, char separator)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d%c%02d%c%02d", first, separator, second, separator, third);
    return text;
}

} // namespace

LocalDateTime SystemLocalTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    LocalDateTime result;
    if (localtime_r(&now, &local) == nullptr)
        return result;
    result.year = local.tm_year + 1900;
    result.month = local.tm_mon + 1;
    result.day = local.tm_mday;
    result.hour = local.tm_hour;
    result.minute = local.tm_min;
    result.second = local.tm_sec;
    return result;
}

std::string FormatShortDate(const LocalDateTime& when)
{
    return TwoDigitTriple(when.month, when.day, ((when.year % 100) + 100) % 100, '/');
}

std::string FormatShortTime(const LocalDateTime& when)
{
    return TwoDigitTriple(when.hour, when.minute, when.second, ':');
}

} // namespace halvox
