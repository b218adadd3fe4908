#include "ToolTipText.h"

#include <algorithm>

namespace talk::tool_tip_text {

int GetNumberOfLines(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
}

SkinPoint GetMultiLineTextExtent(const std::string& text, int lineHeight, const MeasureLine& measure)
{
    int widest = 0;
    size_t start = 0;
    while (true) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (measure)
            widest = std::max(widest, measure(line));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return {widest, lineHeight * GetNumberOfLines(text)};
}

} // namespace talk::tool_tip_text
