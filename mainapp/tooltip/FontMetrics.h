#pragma once

#include "tooltip/TextStyle.h"

#include <string_view>

namespace deskwarden::tooltip {

/// What the layout needs to know of the tooltip font; the widget answers from its real font.
class FontMetrics
{
public:
    virtual ~FontMetrics() = default;

    /** Width in pixels of `text` (UTF-8) drawn in `style`. */
    virtual int TextWidth(std::string_view text, const TextStyle& style) const = 0;
    /** Average character width of the tooltip font in its normal style; tab stops are counted in it. */
    virtual int AverageCharWidth() const = 0;
    /** Height of one text line in `style`. */
    virtual int LineHeight(const TextStyle& style) const = 0;
};

} // namespace deskwarden::tooltip
