#pragma once

#include "tooltip/ColourTable.h"
#include "tooltip/FontMetrics.h"
#include "tooltip/MarkupParser.h"

#include <string_view>
#include <vector>

namespace deskwarden::test {

using namespace deskwarden::tooltip;

// Desktop colours that differ from every built-in entry, so a test sees where a colour came from.
inline constexpr SystemColours kTestSystemColours {0x101010, 0x202020, 0x303030};

/// A fixed-width font: 10 pixels a character, 12 in bold, lines 16 high (bold 18).
class FixedWidthMetrics : public FontMetrics
{
public:
    int TextWidth(std::string_view text, const TextStyle& style) const override
    {
        int characters = 0;
        for (unsigned char c : text) {
            characters += (c & 0xC0) != 0x80 ? 1 : 0; // count UTF-8 lead bytes only
        }
        return characters * (style.weight > kNormalWeight ? 12 : 10);
    }
    int AverageCharWidth() const override { return 10; }
    int LineHeight(const TextStyle& style) const override { return style.weight > kNormalWeight ? 18 : 16; }
};

inline TextStyle DefaultStyle()
{
    TextStyle style;
    style.textColour = kTestSystemColours.tipText;
    style.backColour = kTestSystemColours.tipBackground;
    return style;
}

inline LineBreaks Breaks(unsigned count)
{
    return LineBreaks {count, DefaultStyle()};
}

inline HorizontalRule Rule(unsigned percent, Colorref colour)
{
    TextStyle style = DefaultStyle();
    style.textColour = colour;
    return HorizontalRule {percent, style};
}

inline std::vector<MarkupItem> Parse(std::string_view markup)
{
    return ParseMarkup(markup, ColourTable(kTestSystemColours));
}

} // namespace deskwarden::test
