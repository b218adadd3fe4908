#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// The tray program's palette, fonts and the two motifs every picture shares: the shield and the voice wave.
namespace deskwarden_art::kit {

inline const QColor kColumnBlue(0x18, 0x65, 0xE7); // the main window's button column
inline const QColor kDeepBlue(0x0B, 0x3F, 0xA8);
inline const QColor kNightBlue(0x08, 0x2B, 0x78);
inline const QColor kBrightBlue(0x4A, 0x8C, 0xF5);
inline const QColor kPaleBlue(0xDC, 0xE8, 0xFC);
inline const QColor kAboutBlue(0x5A, 0x71, 0xB5); // the program-information box's background
inline const QColor kInk(0x1E, 0x2A, 0x40);

enum class Face
{
    Latin, // DejaVu Sans: the product name
    Japanese, // IPAPGothic: labels
    JapaneseFixed, // IPAGothic
};

/** A font of `pixels` height; hinting is fixed so that every run rasterises the same. */
QFont Font(Face face, int pixels, bool bold);

/** A transparent ARGB picture of the given size. */
QImage Transparent(int width, int height);

/** A shield filling `box`: flat shoulders, straight sides, a pointed foot. */
QPainterPath ShieldPath(const QRectF& box);

/**
 * Vertical rounded bars, tallest in the middle, centred in `box`: the voice that opens the lock. `bars` is
 * odd; thin boxes get fewer bars so the wave still reads at 16 pixels.
 */
void PaintVoiceBars(QPainter& p, const QRectF& box, int bars, const QColor& colour);

/** The emblem: a shield in a blue gradient with a pale rim and white voice bars. */
void PaintEmblem(QPainter& p, const QRectF& box);

/** `colour` with alpha `alpha` (0 to 255). */
QColor WithAlpha(QColor colour, int alpha);

} // namespace deskwarden_art::kit
