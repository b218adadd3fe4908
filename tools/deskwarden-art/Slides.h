#pragma once

#include <QImage>

// The lock screen's slide show: calm scenes drawn from numbers alone, the same on every run.
namespace deskwarden_art::slides {

inline constexpr int kSlideCount = 5;
inline constexpr int kSlideWidth = 800;
inline constexpr int kSlideHeight = 600;

/** Scene `index` (0 to kSlideCount - 1) as an opaque 24-bit picture; null for any other index. */
QImage PaintSlide(int index);

} // namespace deskwarden_art::slides
