#pragma once

#include "tooltip/ColourTable.h"
#include "tooltip/TextStyle.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace deskwarden::tooltip {

/// Text drawn in one style.
struct TextRun
{
    std::string text;
    TextStyle style;

    bool operator==(const TextRun&) const = default;
};

/// The next text starts at the left margin `count` lines lower. The style in force sets the height of a
/// line left empty.
struct LineBreaks
{
    unsigned count = 1;
    TextStyle style;

    bool operator==(const LineBreaks&) const = default;
};

/// The next text starts `count` tab stops further right.
struct TabStops
{
    unsigned count = 1;

    bool operator==(const TabStops&) const = default;
};

enum class Alignment
{
    Left,
    Centre,
    Right
};

/// The rest of the current line is aligned so.
struct AlignLine
{
    Alignment alignment = Alignment::Left;

    bool operator==(const AlignLine&) const = default;
};

/// A line across `percent` of the text width, in the text colour of the style in force, whose font sets
/// the height of the line it stands on.
struct HorizontalRule
{
    unsigned percent = 100;
    TextStyle style;

    bool operator==(const HorizontalRule&) const = default;
};

using MarkupItem = std::variant<TextRun, LineBreaks, TabStops, AlignLine, HorizontalRule>;

/// Line breaks and tab stops of one tag are capped: more would only push the text off any screen.
inline constexpr unsigned kMostRepeats = 100;

/**
 * Turns a tooltip text with its tags into what is to be drawn, in order. Text starts in the default
 * colours of `colours` and in `normalWeight`, which bold doubles. Unknown tags are skipped; a tag whose
 * '>' never comes is dropped with the rest of the text, since its meaning cannot be known.
 */
std::vector<MarkupItem> ParseMarkup(
    std::string_view markup, const ColourTable& colours, int normalWeight = kNormalWeight);

} // namespace deskwarden::tooltip
