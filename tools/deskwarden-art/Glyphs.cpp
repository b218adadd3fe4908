#include "Glyphs.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace deskwarden_art::glyphs {

namespace {

// The lock's body sits in the lower part of the box; the shackle rises above it.
QRectF LockBody(const QRectF& box)
{
    return QRectF(
        box.left() + box.width() * 0.16, box.top() + box.height() * 0.44, box.width() * 0.68, box.height() * 0.52);
}

void PunchKeyhole(QPainter& p, const QRectF& body)
{
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const qreal r = body.width() * 0.11;
    const QPointF centre(body.center().x(), body.top() + body.height() * 0.4);
    p.drawEllipse(centre, r, r);
    p.drawRect(QRectF(centre.x() - r * 0.45, centre.y(), r * 0.9, body.height() * 0.32));
    p.restore();
}

// An open lock's shackle stands at the top of the box with its free leg out of the body; a closed one sits
// `drop` (a share of the box) lower, both legs in the body.
void PaintPadlock(QPainter& p, const QRectF& box, const QColor& colour, qreal drop, bool open)
{
    const QRectF body = LockBody(box);
    const qreal stroke = box.width() * 0.1;
    const qreal legInset = body.width() * 0.2;
    const qreal top = box.top() + stroke / 2 + drop * box.height();
    const qreal left = body.left() + legInset;
    const qreal right = body.right() - legInset;
    const qreal radius = (right - left) / 2;
    QPainterPath shackle;
    if (open) {
        // Hinged on the right leg, the free left leg stands up out of the body.
        shackle.moveTo(right, body.top());
        shackle.lineTo(right, top + radius);
        shackle.arcTo(QRectF(left, top, 2 * radius, 2 * radius), 0, 180);
        shackle.lineTo(left, body.top() - box.height() * 0.2);
    } else {
        shackle.moveTo(left, body.top());
        shackle.lineTo(left, top + radius);
        shackle.arcTo(QRectF(left, top, 2 * radius, 2 * radius), 180, -180);
        shackle.lineTo(right, body.top());
    }
    p.setPen(QPen(colour, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shackle);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(body, body.width() * 0.12, body.width() * 0.12);
    PunchKeyhole(p, body);
}

void PaintScreenLock(QPainter& p, const QRectF& box, const QColor& colour)
{
    const qreal stroke = box.width() * 0.075;
    const QRectF screen(
        box.left() + stroke / 2, box.top() + box.height() * 0.08, box.width() - stroke, box.height() * 0.62);
    p.setPen(QPen(colour, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(screen, stroke, stroke);
    const qreal footY = box.bottom() - stroke / 2;
    p.drawLine(QPointF(box.center().x(), screen.bottom()), QPointF(box.center().x(), footY));
    p.drawLine(
        QPointF(box.center().x() - box.width() * 0.22, footY), QPointF(box.center().x() + box.width() * 0.22, footY));
    const qreal lockSize = screen.height() * 0.78;
    const QRectF lockBox(screen.center().x() - lockSize / 2, screen.center().y() - lockSize / 2, lockSize, lockSize);
    PaintPadlock(p, lockBox, colour, 0.1, false);
}

void PaintGear(QPainter& p, const QRectF& box, const QColor& colour)
{
    constexpr int kTeeth = 8;
    const QPointF c = box.center();
    const qreal outer = box.width() * 0.48;
    const qreal inner = box.width() * 0.36;
    QPainterPath gear;
    for (int i = 0; i < kTeeth * 4; ++i) {
        // Each tooth: two points on the tip circle, two on the root circle.
        const qreal angle = (i - 0.5) * std::numbers::pi * 2 / (kTeeth * 4);
        const qreal r = (i % 4 == 0 || i % 4 == 1) ? outer : inner;
        const QPointF point(c.x() + r * std::cos(angle), c.y() + r * std::sin(angle));
        if (i == 0)
            gear.moveTo(point);
        else
            gear.lineTo(point);
    }
    gear.closeSubpath();
    p.setPen(QPen(colour, box.width() * 0.03, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(colour);
    p.drawPath(gear);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(c, box.width() * 0.15, box.width() * 0.15);
    p.restore();
}

void PaintPower(QPainter& p, const QRectF& box, const QColor& colour)
{
    const qreal stroke = box.width() * 0.11;
    const QRectF ring
        = box.adjusted(box.width() * 0.12, box.height() * 0.16, -box.width() * 0.12, -box.height() * 0.08);
    p.setPen(QPen(colour, stroke, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    // The ring opens at the top where the switch's stem passes.
    p.drawArc(ring, 125 * 16, 290 * 16);
    p.drawLine(QPointF(box.center().x(), box.top() + stroke / 2 + box.height() * 0.02),
        QPointF(box.center().x(), ring.center().y()));
}

} // namespace

void PaintGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
    case Glyph::PadlockClosing:
        PaintPadlock(p, box, colour, 0.1, false);
        break;
    case Glyph::PadlockOpening:
        PaintPadlock(p, box, colour, 0, true);
        break;
    case Glyph::ScreenLock:
        PaintScreenLock(p, box, colour);
        break;
    case Glyph::Gear:
        PaintGear(p, box, colour);
        break;
    case Glyph::Power:
        PaintPower(p, box, colour);
        break;
    }
    p.restore();
}

void PaintFrameGlyph(QPainter& p, FrameGlyph glyph, const QRect& box, const QColor& colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, glyph == FrameGlyph::Close);
    p.setPen(QPen(colour, 1));
    p.setBrush(Qt::NoBrush);
    const int cx = box.left() + box.width() / 2;
    const int cy = box.top() + box.height() / 2;
    switch (glyph) {
    case FrameGlyph::Minimise:
        p.fillRect(QRect(cx - 4, cy + 2, 9, 2), colour);
        break;
    case FrameGlyph::Maximise:
        p.drawRect(QRect(cx - 4, cy - 4, 8, 8));
        p.drawLine(cx - 4, cy - 3, cx + 4, cy - 3);
        break;
    case FrameGlyph::Restore:
        p.drawRect(QRect(cx - 2, cy - 5, 7, 6));
        // The front window hides the back one's corner.
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(QRect(cx - 5, cy - 2, 8, 7), Qt::transparent);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.drawRect(QRect(cx - 5, cy - 2, 7, 6));
        p.drawLine(cx - 5, cy - 1, cx + 2, cy - 1);
        break;
    case FrameGlyph::Close:
        p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(cx - 3.5, cy - 3.5), QPointF(cx + 3.5, cy + 3.5));
        p.drawLine(QPointF(cx + 3.5, cy - 3.5), QPointF(cx - 3.5, cy + 3.5));
        break;
    }
    p.restore();
}

} // namespace deskwarden_art::glyphs
