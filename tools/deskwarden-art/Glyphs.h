#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// Line pictures of the main window's commands, in one colour, so that they sit on any background. Cut-outs
// (keyholes, the gear's hub) are punched through to what lies below.
namespace deskwarden_art::glyphs {

enum class Glyph
{
    PadlockClosing, // encrypt
    PadlockOpening, // decrypt
    ScreenLock,
    Gear, // settings
    Power, // end program
};

/** Paints `glyph` into `box` (square works best) on a picture that has an alpha channel. */
void PaintGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour);

enum class FrameGlyph
{
    Minimise,
    Maximise,
    Restore,
    Close,
};

/** The frame buttons' pictures: one-pixel lines on the pixel grid, centred in `box`. */
void PaintFrameGlyph(QPainter& p, FrameGlyph glyph, const QRect& box, const QColor& colour);

} // namespace deskwarden_art::glyphs
