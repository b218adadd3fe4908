#pragma once

#include "tooltip/ColourTable.h"

namespace deskwarden::tooltip {

/// The plain background: entry 18 all over. Any effect number the tip does not know draws it too.
inline constexpr int kEffectNone = 0;
/// Shading from top to bottom: entry 18 at the top, 19 half-way down, 20 at the bottom.
inline constexpr int kEffectVerticalShade = 13;

inline constexpr int kDefaultEffect = kEffectNone;
inline constexpr int kDefaultGranularity = 2;

/**
 * The colour of pixel row `row` of a tip background `height` rows high. The shading changes colour once
 * every `granularity` rows (less than 1 counts as 1), so a coarser granularity gives broader bands; the
 * first band is exactly entry 18 and the last exactly entry 20. Rows outside the background take the
 * colour of the nearest row.
 */
Rgb BackgroundRowColour(int effect, int granularity, const ColourTable& colours, int row, int height) noexcept;

} // namespace deskwarden::tooltip
