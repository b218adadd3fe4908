#include "ArtKit.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace deskwarden_art::kit {

QFont Font(Face face, int pixels, bool bold)
{
    static const char* const kFamilies[] = {"DejaVu Sans", "IPAPGothic", "IPAGothic"};
    QFont font(kFamilies[static_cast<int>(face)]);
    font.setPixelSize(pixels);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QImage Transparent(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QPainterPath ShieldPath(const QRectF& box)
{
    const qreal w = box.width();
    const qreal h = box.height();
    const qreal x = box.left();
    const qreal y = box.top();
    QPainterPath path;
    path.moveTo(x + w * 0.5, y);
    path.cubicTo(x + w * 0.68, y + h * 0.09, x + w * 0.86, y + h * 0.12, x + w, y + h * 0.12);
    path.lineTo(x + w, y + h * 0.46);
    path.cubicTo(x + w, y + h * 0.74, x + w * 0.76, y + h * 0.9, x + w * 0.5, y + h);
    path.cubicTo(x + w * 0.24, y + h * 0.9, x, y + h * 0.74, x, y + h * 0.46);
    path.lineTo(x, y + h * 0.12);
    path.cubicTo(x + w * 0.14, y + h * 0.12, x + w * 0.32, y + h * 0.09, x + w * 0.5, y);
    path.closeSubpath();
    return path;
}

void PaintVoiceBars(QPainter& p, const QRectF& box, int bars, const QColor& colour)
{
    bars = std::max(1, bars | 1);
    const qreal pitch = box.width() / bars;
    const qreal width = std::max(1.0, pitch * 0.55);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const int middle = bars / 2;
    for (int i = 0; i < bars; ++i) {
        // Heights fall off from the middle like the envelope of a spoken word.
        const qreal reach = static_cast<qreal>(std::abs(i - middle)) / (middle + 1);
        const qreal height = std::max(width, box.height() * (1.0 - 0.75 * reach * reach) * (i % 2 ? 0.78 : 1.0));
        const qreal x = box.left() + i * pitch + (pitch - width) / 2;
        const QRectF bar(x, box.center().y() - height / 2, width, height);
        p.drawRoundedRect(bar, width / 2, width / 2);
    }
    p.restore();
}

void PaintEmblem(QPainter& p, const QRectF& box)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath outer = ShieldPath(box);
    QLinearGradient rim(box.topLeft(), box.bottomRight());
    rim.setColorAt(0, QColor(0xF4, 0xF8, 0xFF));
    rim.setColorAt(1, QColor(0xB8, 0xCE, 0xF2));
    p.fillPath(outer, rim);
    const qreal inset = std::max(1.0, box.width() * 0.085);
    const QRectF innerBox = box.adjusted(inset, inset * 1.1, -inset, -inset * 1.3);
    QLinearGradient fill(innerBox.topLeft(), innerBox.bottomLeft());
    fill.setColorAt(0, kBrightBlue);
    fill.setColorAt(1, kDeepBlue);
    p.fillPath(ShieldPath(innerBox), fill);
    const int bars = box.width() < 20 ? 3 : (box.width() < 40 ? 5 : 7);
    const QRectF wave(innerBox.left() + innerBox.width() * 0.17, innerBox.top() + innerBox.height() * 0.2,
        innerBox.width() * 0.66, innerBox.height() * 0.5);
    PaintVoiceBars(p, wave, bars, Qt::white);
    p.restore();
}

QColor WithAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

} // namespace deskwarden_art::kit
