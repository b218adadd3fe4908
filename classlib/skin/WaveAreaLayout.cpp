#include "WaveAreaLayout.h"

#include <algorithm>

namespace talk::wave_area_layout {

std::vector<SkinLine> GridLines(const SkinRect& rect)
{
    std::vector<SkinLine> lines;
    if (rect.IsEmpty())
        return lines;
    int width = rect.Width();
    int height = rect.Height();
    for (double fraction : {0.25, 0.5, 0.75}) {
        int y = rect.top + static_cast<int>(height * fraction);
        lines.push_back({{rect.left, y}, {rect.right, y}});
    }
    for (double fraction : {0.2, 0.8}) {
        int x = rect.left + static_cast<int>(width * fraction);
        lines.push_back({{x, rect.top}, {x, rect.bottom}});
    }
    return lines;
}

std::vector<SkinLine> Dashes(const SkinLine& line)
{
    std::vector<SkinLine> dashes;
    bool horizontal = line.from.y == line.to.y;
    int start = horizontal ? line.from.x : line.from.y;
    int end = horizontal ? line.to.x : line.to.y;
    for (int p = start; p < end; p += kDashPeriod) {
        int last = std::min(p + kDashLength, end) - 1;
        if (horizontal)
            dashes.push_back({{p, line.from.y}, {last, line.from.y}});
        else
            dashes.push_back({{line.from.x, p}, {line.from.x, last}});
    }
    return dashes;
}

} // namespace talk::wave_area_layout
