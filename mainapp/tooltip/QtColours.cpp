#include "tooltip/QtColours.h"

#include <QPalette>

namespace deskwarden::tooltip {

namespace {

Colorref ToColorref(const QColor& colour)
{
    return static_cast<Colorref>(colour.red()) | static_cast<Colorref>(colour.green()) << 8
        | static_cast<Colorref>(colour.blue()) << 16;
}

} // namespace

QColor ToQColor(Rgb colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

QColor ToQColor(Colorref colour)
{
    return ToQColor(ToRgb(colour));
}

SystemColours SystemColoursOf(const QPalette& palette)
{
    // A button's shadow is what Qt calls the dark shade of the button colour.
    return SystemColours {ToColorref(palette.color(QPalette::ToolTipText)),
        ToColorref(palette.color(QPalette::ToolTipBase)), ToColorref(palette.color(QPalette::Dark))};
}

} // namespace deskwarden::tooltip
