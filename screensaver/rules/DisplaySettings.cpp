#include "rules/DisplaySettings.h"

#include <cstdio>
#include <cstdlib>

namespace screenveil {

namespace {

int ChannelOf(const std::string& part)
{
    const long value = std::strtol(part.c_str(), nullptr, 10);
    return static_cast<int>(((value % 256) + 256) % 256);
}

} // namespace

Rgb ParseColourText(const std::string& text)
{
    int channels[3] = {0, 0, 0};
    std::size_t start = 0;
    for (int i = 0; i < 3 && start <= text.size(); ++i) {
        const std::size_t comma = text.find(',', start);
        const std::size_t end = comma == std::string::npos ? text.size() : comma;
        channels[i] = ChannelOf(text.substr(start, end - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return Rgb {channels[0], channels[1], channels[2]};
}

std::string ColourText(const Rgb& colour)
{
    char text[40];
    std::snprintf(text, sizeof text, "%d,%d,%d", colour.red, colour.green, colour.blue);
    return text;
}

} // namespace screenveil
