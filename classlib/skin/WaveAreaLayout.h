#pragma once

#include "SkinGeometry.h"

#include <vector>

/**
 * The grid of the skin's wave area: horizontal lines at 1/4, 1/2 and 3/4 of its height and vertical
 * lines at 1/5 and 4/5 of its width (integer parts), each drawn as 2-pixel dashes every 4 pixels
 * starting at the rectangle's edge.
 */
namespace talk::wave_area_layout {

inline constexpr int kDashLength = 2;
inline constexpr int kDashPeriod = 4;

/** The five grid lines, from edge to edge of the rectangle (horizontal ones first). */
std::vector<SkinLine> GridLines(const SkinRect& rect);

/** The dashes of one grid line (each a short line of kDashLength pixels, the last one cut at the end). */
std::vector<SkinLine> Dashes(const SkinLine& line);

} // namespace talk::wave_area_layout
