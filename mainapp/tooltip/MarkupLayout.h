#pragma once

#include "tooltip/FontMetrics.h"
#include "tooltip/MarkupParser.h"

#include <string>
#include <vector>

namespace deskwarden::tooltip {

/// Tab stops lie this many average character widths apart, counted from the left margin.
inline constexpr int kTabStopChars = 4;

/// One line as measured: its height, and the width from its start and from each alignment change on it
/// to its end, since an alignment tag aligns the rest of its line.
struct MeasuredLine
{
    int height = 0;
    std::vector<int> segmentWidths {0};
};

struct Measurement
{
    int width = 0;
    int height = 0;
    std::vector<MeasuredLine> lines {MeasuredLine {}};
};

/// A run of text at its place; (x, y) is the top left corner, `height` that of its line.
struct PlacedText
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::string text;
    TextStyle style;
};

/// A horizontal line from (x, y) `width` pixels to the right.
struct PlacedRule
{
    int x = 0;
    int y = 0;
    int width = 0;
    Colorref colour = 0;
};

struct TipLayout
{
    int width = 0;
    int height = 0;
    std::vector<PlacedText> texts;
    std::vector<PlacedRule> rules;
};

/**
 * First pass: the width of every line (and of its alignment segments), the height of every line and the
 * size of the whole text. Rules take no width here: theirs follows from the text width. A last line
 * without content adds no height.
 */
Measurement MeasureMarkup(const std::vector<MarkupItem>& items, const FontMetrics& metrics);

/**
 * Second pass over the same items with the same rules: every run and rule at its place inside the
 * measured rectangle, whose top left corner is (0, 0). A centred or right-aligned segment never moves
 * left of where the text before it ends.
 */
TipLayout PlaceMarkup(const std::vector<MarkupItem>& items, const FontMetrics& metrics, const Measurement& measured);

/** Both passes. */
TipLayout LayOutMarkup(const std::vector<MarkupItem>& items, const FontMetrics& metrics);

} // namespace deskwarden::tooltip
