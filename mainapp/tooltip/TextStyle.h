#pragma once

#include "tooltip/ColourTable.h"

namespace deskwarden::tooltip {

inline constexpr int kNormalWeight = 400;
inline constexpr int kHeaviestWeight = 900;

/// How one run of text is drawn.
struct TextStyle
{
    int weight = kNormalWeight;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    Colorref textColour = 0;
    Colorref backColour = 0;
    bool opaqueBackground = false;

    bool operator==(const TextStyle&) const = default;
};

} // namespace deskwarden::tooltip
