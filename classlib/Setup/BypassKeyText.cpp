#include "Setup/BypassKeyText.h"

#include <cstdio>
#include <random>

namespace talk {

std::string BypassKeyPlainText(const std::string& letters, const std::tm& moment)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d%02d%02d%02d%02d%02d", (moment.tm_mon + 1) % 100, moment.tm_mday % 100,
        moment.tm_year % 100, moment.tm_hour % 100, moment.tm_min % 100, moment.tm_sec % 100);
    return letters + stamp;
}

std::string RandomCapitalLetters()
{
    // The key opens the machine without a voice, so its letters come from the system's entropy source
    // rather than a clock-seeded generator that anyone knowing the moment could replay.
    std::random_device source;
    std::uniform_int_distribution<int> letter('A', 'Z');
    std::string letters;
    for (std::size_t i = 0; i < kBypassKeyLetters; ++i) {
        letters += static_cast<char>(letter(source));
    }
    return letters;
}

} // namespace talk
