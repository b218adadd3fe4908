#pragma once

#include "SkinGeometry.h"

#include <cstdint>
#include <vector>

/**
 * The window outline of a mask picture: every run of pixels that are not pure white becomes a rectangle
 * one pixel high, scan line by scan line from the top, left to right (the order a banded region wants).
 * `pixels` holds `height` rows of `stride` 32-bit 0xAARRGGBB values; alpha is ignored.
 */
std::vector<SkinRect> MaskRuns(const uint32_t* pixels, int width, int height, int stride);

/** Whether a 0xAARRGGBB pixel counts as cut out (white within the skin's tolerance). */
bool IsMaskedOut(uint32_t pixel);
