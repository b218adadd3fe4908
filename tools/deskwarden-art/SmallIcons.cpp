#include "SmallIcons.h"

#include "ArtKit.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace deskwarden_art::small_icons {

namespace {

using namespace deskwarden_art::kit;

const QColor kMagenta(0xFF, 0x00, 0xFF);
const QColor kMenuGround(0xF2, 0xF2, 0xF2); // what an antialiased edge is blended against
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kPaperEdge(0x6A, 0x7A, 0x94);
const QColor kFolder(0xF2, 0xB8, 0x3A);
const QColor kFolderEdge(0xB0, 0x7A, 0x12);
const QColor kGreen(0x2E, 0x9E, 0x44);
const QColor kRed(0xD0, 0x3A, 0x3A);

// A menu's transparent colour admits no partial cover: edges are settled against a light menu and
// whatever stays mostly clear becomes the key colour.
QImage FlattenOnKey(const QImage& layer)
{
    QImage flat(layer.size(), QImage::Format_RGB32);
    const QImage straight = layer.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < flat.height(); ++y) {
        for (int x = 0; x < flat.width(); ++x) {
            const QRgb px = straight.pixel(x, y);
            const int a = qAlpha(px);
            if (a < 100) {
                flat.setPixel(x, y, kMagenta.rgb());
                continue;
            }
            auto mix = [a](int top, int ground) { return (top * a + ground * (255 - a) + 127) / 255; };
            flat.setPixel(x, y,
                qRgb(mix(qRed(px), kMenuGround.red()), mix(qGreen(px), kMenuGround.green()),
                    mix(qBlue(px), kMenuGround.blue())));
        }
    }
    return flat;
}

void PaintPlusBadge(QPainter& p, const QPointF& centre, const QColor& colour)
{
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(colour);
    p.drawEllipse(centre, 3.6, 3.6);
    p.setPen(QPen(Qt::white, 1.4));
    p.drawLine(QPointF(centre.x() - 2, centre.y()), QPointF(centre.x() + 2, centre.y()));
    p.drawLine(QPointF(centre.x(), centre.y() - 2), QPointF(centre.x(), centre.y() + 2));
}

void PaintDocument(QPainter& p)
{
    QPainterPath sheet;
    sheet.moveTo(2.5, 1.5);
    sheet.lineTo(9.5, 1.5);
    sheet.lineTo(12.5, 4.5);
    sheet.lineTo(12.5, 14.5);
    sheet.lineTo(2.5, 14.5);
    sheet.closeSubpath();
    p.setPen(QPen(kPaperEdge, 1));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.drawLine(QPointF(9.5, 1.5), QPointF(9.5, 4.5));
    p.drawLine(QPointF(9.5, 4.5), QPointF(12.5, 4.5));
    p.setPen(QPen(QColor(0xA8, 0xB8, 0xD0), 1));
    for (int y = 7; y <= 11; y += 2)
        p.drawLine(QPointF(4.5, y + 0.5), QPointF(10.5, y + 0.5));
}

void PaintFolder(QPainter& p, bool open)
{
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.setPen(QPen(kFolderEdge, 1));
    p.setBrush(kFolder.darker(108));
    p.drawPath(back);
    QPainterPath front;
    if (open) {
        front.moveTo(3.5, 7.5);
        front.lineTo(15.5, 7.5);
        front.lineTo(13.5, 13.5);
        front.lineTo(1.5, 13.5);
    } else {
        front.moveTo(1.5, 6.5);
        front.lineTo(14.5, 6.5);
        front.lineTo(14.5, 13.5);
        front.lineTo(1.5, 13.5);
    }
    front.closeSubpath();
    p.setBrush(kFolder.lighter(open ? 118 : 106));
    p.drawPath(front);
}

void PaintStart(QPainter& p)
{
    QPainterPath triangle;
    triangle.moveTo(4, 2.5);
    triangle.lineTo(13.5, 8);
    triangle.lineTo(4, 13.5);
    triangle.closeSubpath();
    p.setPen(QPen(kGreen.darker(130), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kGreen);
    p.drawPath(triangle);
}

void PaintClear(QPainter& p)
{
    // A list whose lines are being swept away.
    p.setPen(QPen(kPaperEdge, 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(2, 3.5 + i * 4), QPointF(8, 3.5 + i * 4));
    p.setPen(QPen(kRed, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 8.5), QPointF(14, 13));
    p.drawLine(QPointF(14, 8.5), QPointF(9.5, 13));
}

void PaintRemove(QPainter& p)
{
    PaintDocument(p);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(kRed);
    p.drawEllipse(QPointF(11.5, 11.5), 3.6, 3.6);
    p.setPen(QPen(Qt::white, 1.4));
    p.drawLine(QPointF(9.5, 11.5), QPointF(13.5, 11.5));
}

// A head over rounded shoulders; a pixel of air between them keeps both readable at 16 pixels.
QPainterPath PersonPath(const QRectF& box)
{
    QPainterPath person;
    const qreal head = box.width() * 0.56;
    person.addEllipse(QRectF(box.center().x() - head / 2, box.top(), head, head));
    const qreal shoulders = box.top() + head + 1.2;
    QPainterPath body;
    body.moveTo(box.left(), box.bottom());
    body.lineTo(box.left(), shoulders + box.height() * 0.2);
    body.cubicTo(
        box.left(), shoulders - 0.5, box.right(), shoulders - 0.5, box.right(), shoulders + box.height() * 0.2);
    body.lineTo(box.right(), box.bottom());
    body.closeSubpath();
    return person.united(body);
}

void PaintPerson(QPainter& p, const QColor& colour, bool outlined)
{
    const QPainterPath person = PersonPath(QRectF(2.5, 1.5, 10, 13));
    if (outlined) {
        p.setPen(QPen(colour, 1.1, Qt::DashLine));
        p.setBrush(WithAlpha(colour, 50));
    } else {
        p.setPen(QPen(colour.darker(140), 0.8));
        p.setBrush(colour);
    }
    p.drawPath(person);
}

void PaintStarBadge(QPainter& p)
{
    QPainterPath star;
    const QPointF c(12, 11.5);
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 ? 1.7 : 4.0;
        const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const QPointF point(c.x() + r * std::cos(angle), c.y() + r * std::sin(angle));
        if (i == 0)
            star.moveTo(point);
        else
            star.lineTo(point);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(0x9A, 0x6A, 0x00), 0.8));
    p.setBrush(QColor(0xFF, 0xC8, 0x2E));
    p.drawPath(star);
}

void PaintCheck(QPainter& p)
{
    QPainterPath tick;
    tick.moveTo(2.5, 8.5);
    tick.lineTo(6.2, 12.2);
    tick.lineTo(13.5, 3.8);
    p.setPen(QPen(kGreen.darker(125), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    p.setPen(QPen(kGreen.lighter(125), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
}

} // namespace

QImage PaintMenuStrip()
{
    QImage layer = Transparent(16 * kMenuIconCount, 16);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    PaintDocument(p);
    PaintPlusBadge(p, QPointF(11.5, 11.5), kGreen);
    p.translate(16, 0);
    PaintFolder(p, false);
    PaintPlusBadge(p, QPointF(11.5, 11.5), kGreen);
    p.translate(16, 0);
    PaintStart(p);
    p.translate(16, 0);
    PaintClear(p);
    p.translate(16, 0);
    PaintRemove(p);
    p.translate(16, 0);
    PaintFolder(p, true);
    p.end();
    return FlattenOnKey(layer);
}

QImage PaintRowImage(RowImage image)
{
    QImage picture = Transparent(16, 16);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    switch (image) {
    case RowImage::Administrator:
        PaintPerson(p, kColumnBlue, false);
        PaintStarBadge(p);
        break;
    case RowImage::GeneralUser:
        PaintPerson(p, QColor(0x2E, 0x9E, 0x8C), false);
        break;
    case RowImage::UnregisteredAccount:
        PaintPerson(p, QColor(0x80, 0x88, 0x96), true);
        break;
    case RowImage::Check:
        PaintCheck(p);
        break;
    }
    return picture;
}

QImage PaintAppIcon(int size)
{
    QImage icon = Transparent(size, size);
    QPainter p(&icon);
    // The shield is taller than wide; small sizes keep a pixel of air so the rim is not cut.
    const qreal margin = std::max(0.5, size / 32.0);
    const qreal height = size - 2 * margin;
    const qreal width = height * 0.86;
    PaintEmblem(p, QRectF((size - width) / 2, margin, width, height));
    return icon;
}

} // namespace deskwarden_art::small_icons
