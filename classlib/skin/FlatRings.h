#pragma once

#include <QColor>
#include <QRect>

class QPainter;

/** Draws the rectangular rings of the flat controls' borders. */
namespace talk::flat_rings {

/** One ring along the edge of `rect`: top and left in `topLeft`, bottom and right in `bottomRight`. */
void DrawRing(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight);

} // namespace talk::flat_rings
