#pragma once

#include "tooltip/TipTiming.h"

namespace deskwarden::tooltip {

/// A rectangle in screen or window pixels.
struct TipBox
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const TipBox&) const = default;
};

/// Around the text: a one-pixel border, then a margin that keeps the text off it.
inline constexpr int kTipBorder = 1;
inline constexpr int kTipMarginX = 8;
inline constexpr int kTipMarginY = 6;
/// The tip opens this far below the cursor's hot spot, clear of a usual pointer image.
inline constexpr int kCursorClearance = 20;

/** The window of a tip whose markup measured `textWidth` x `textHeight`, at (0, 0). */
TipBox FrameAround(int textWidth, int textHeight) noexcept;

/** Where the text starts inside the window of FrameAround. */
TipBox TextArea(int textWidth, int textHeight) noexcept;

/**
 * Where a tip `width` x `height` opens for the cursor at `cursor` on the screen area `screen`: below the
 * cursor with its left edge at the cursor; moved left so as not to leave the screen on the right, above
 * the cursor when there is no room below, and never left of or above the screen area. A tip larger than
 * the screen area starts at its top left corner.
 */
TipBox PlaceTip(ScreenPoint cursor, int width, int height, const TipBox& screen) noexcept;

} // namespace deskwarden::tooltip
