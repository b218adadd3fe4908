#include "tooltip/ColourTable.h"

namespace deskwarden::tooltip {

Rgb ToRgb(Colorref colour) noexcept
{
    return Rgb {static_cast<std::uint8_t>(colour & 0xFF), static_cast<std::uint8_t>((colour >> 8) & 0xFF),
        static_cast<std::uint8_t>((colour >> 16) & 0xFF)};
}

ColourTable::ColourTable(const SystemColours& system) noexcept
    : entries_ {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080, 0xFF0000, 0x00FF00,
        0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xC0C0C0, 0xFFFFFF,
        0x000000, // 16 is left for the caller; black until set
        system.tipText, system.tipBackground, system.tipBackground, system.tipBackground, 0xEE0000, 0x8B1A55, 0x0000FF,
        system.buttonShadow, system.tipText}
{
}

bool ColourTable::Set(unsigned index, Colorref colour) noexcept
{
    if (index >= kColourCount) {
        return false;
    }
    entries_[index] = colour;
    return true;
}

std::optional<Colorref> ColourTable::Entry(unsigned index) const noexcept
{
    if (index >= kColourCount) {
        return std::nullopt;
    }
    return entries_[index];
}

} // namespace deskwarden::tooltip
