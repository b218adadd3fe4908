#include "tooltip/TipPlacement.h"

#include <algorithm>

namespace deskwarden::tooltip {

TipBox FrameAround(int textWidth, int textHeight) noexcept
{
    return TipBox {0, 0, textWidth + 2 * (kTipBorder + kTipMarginX), textHeight + 2 * (kTipBorder + kTipMarginY)};
}

TipBox TextArea(int textWidth, int textHeight) noexcept
{
    return TipBox {kTipBorder + kTipMarginX, kTipBorder + kTipMarginY, textWidth, textHeight};
}

TipBox PlaceTip(ScreenPoint cursor, int width, int height, const TipBox& screen) noexcept
{
    const int right = screen.x + screen.width;
    const int bottom = screen.y + screen.height;
    int x = std::min(cursor.x, right - width);
    int y = cursor.y + kCursorClearance;
    if (y + height > bottom) {
        y = cursor.y - height;
    }
    x = std::max(x, screen.x);
    y = std::max(y, screen.y);
    return TipBox {x, y, width, height};
}

} // namespace deskwarden::tooltip
