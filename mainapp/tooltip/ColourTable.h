#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace deskwarden::tooltip {

/// A colour as the markup writes it: 0x00BBGGRR, red in the lowest byte.
using Colorref = std::uint32_t;

struct Rgb
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Rgb&) const = default;
};

/** The drawing colour of a markup colour; the unused top byte is dropped. */
Rgb ToRgb(Colorref colour) noexcept;

/// The desktop's own tooltip colours; the widget reads them from its style, tests fix them.
struct SystemColours
{
    Colorref tipText = 0x000000;
    Colorref tipBackground = 0xE1FFFF;
    Colorref buttonShadow = 0xA0A0A0;
};

inline constexpr unsigned kColourCount = 26;
inline constexpr unsigned kDefaultTextIndex = 17;
inline constexpr unsigned kDefaultBackgroundIndex = 18;

/**
 * The 26 numbered colours the "cti" and "cbi" tags pick from. Entry 17 is the markup's default text
 * colour, 18 its default background, 18 to 20 the shading of the tip's background.
 */
class ColourTable
{
public:
    explicit ColourTable(const SystemColours& system) noexcept;

    /** Sets entry `index`; returns false and changes nothing when index is 26 or more. */
    bool Set(unsigned index, Colorref colour) noexcept;

    /** Entry `index`, or nothing when index is 26 or more. */
    std::optional<Colorref> Entry(unsigned index) const noexcept;

    Colorref DefaultText() const noexcept { return entries_[kDefaultTextIndex]; }
    Colorref DefaultBackground() const noexcept { return entries_[kDefaultBackgroundIndex]; }

private:
    std::array<Colorref, kColourCount> entries_ {};
};

} // namespace deskwarden::tooltip
