#include "tooltip/BackgroundEffect.h"

#include <algorithm>
#include <cstdint>

namespace deskwarden::tooltip {

namespace {

// `step` of `steps` along the way from `from` to `to`, rounded to the nearest value.
std::uint8_t Blend(std::uint8_t from, std::uint8_t to, int step, int steps)
{
    const int value = from + ((to - from) * step * 2 + (to >= from ? steps : -steps)) / (steps * 2);
    return static_cast<std::uint8_t>(value);
}

Rgb Blend(const Rgb& from, const Rgb& to, int step, int steps)
{
    return Rgb {Blend(from.red, to.red, step, steps), Blend(from.green, to.green, step, steps),
        Blend(from.blue, to.blue, step, steps)};
}

Rgb TableColour(const ColourTable& colours, unsigned index)
{
    return ToRgb(colours.Entry(index).value_or(colours.DefaultBackground()));
}

// Band `band` of `bands`: the first half blends 18 into 19, the second 19 into 20.
Rgb ShadeBand(const ColourTable& colours, int band, int bands)
{
    const Rgb top = TableColour(colours, 18);
    const Rgb middle = TableColour(colours, 19);
    const Rgb bottom = TableColour(colours, 20);
    const int last = bands - 1;
    if (last == 0) {
        return top;
    }
    // Doubling keeps the half-way point exact for an odd number of bands.
    const int position = band * 2;
    return position <= last ? Blend(top, middle, position, last) : Blend(middle, bottom, position - last, last);
}

} // namespace

Rgb BackgroundRowColour(int effect, int granularity, const ColourTable& colours, int row, int height) noexcept
{
    if (effect != kEffectVerticalShade || height <= 1) {
        return ToRgb(colours.DefaultBackground());
    }
    const int bandHeight = std::max(granularity, 1);
    const int bands = (height + bandHeight - 1) / bandHeight;
    const int band = std::clamp(row, 0, height - 1) / bandHeight;
    return ShadeBand(colours, band, bands);
}

} // namespace deskwarden::tooltip
