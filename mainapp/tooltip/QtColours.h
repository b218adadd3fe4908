#pragma once

#include "tooltip/ColourTable.h"

#include <QColor>

class QPalette;

namespace deskwarden::tooltip {

QColor ToQColor(Rgb colour);
QColor ToQColor(Colorref colour);

/** The desktop's tooltip text and background and its button shadow, as `palette` has them. */
SystemColours SystemColoursOf(const QPalette& palette);

} // namespace deskwarden::tooltip
