#include "SkinArt.h"

#include "DefaultSkinLayout.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace skingen::skin_art {

namespace {

using namespace skingen::default_skin_layout;

const char* const kFace = "IPAPGothic";

QFont Font(int pixels, bool bold)
{
    QFont font(kFace);
    font.setPixelSize(pixels);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QPainterPath WindowOutline()
{
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, kWidth, kHeight), kCornerRadius, kCornerRadius);
    return path;
}

void PaintBody(QPainter& p)
{
    p.fillRect(0, 0, kWidth, kHeight, kBodyBottom);
    QLinearGradient body(0, 0, 0, kHeight);
    body.setColorAt(0, kBodyTop);
    body.setColorAt(1, kBodyBottom);
    p.fillPath(WindowOutline(), body);

    QPainterPath header;
    header.addRect(0, 0, kWidth, kHeaderHeight);
    QLinearGradient headerFill(0, 0, 0, kHeaderHeight);
    headerFill.setColorAt(0, kHeaderTop);
    headerFill.setColorAt(1, kHeaderBottom);
    p.fillPath(header.intersected(WindowOutline()), headerFill);
    p.setPen(QColor(58, 74, 120));
    p.drawLine(0, kHeaderHeight, kWidth, kHeaderHeight);
    p.setPen(QColor(9, 13, 26));
    p.drawLine(0, kHeaderHeight + 1, kWidth, kHeaderHeight + 1);

    // A soft sheen along the top edge gives the window its glassy rim.
    QLinearGradient sheen(0, 0, 0, 14);
    sheen.setColorAt(0, QColor(255, 255, 255, 40));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    QPainterPath top;
    top.addRect(0, 0, kWidth, 14);
    p.fillPath(top.intersected(WindowOutline()), sheen);
    p.setPen(QPen(QColor(70, 88, 140), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1), kCornerRadius, kCornerRadius);
}

void PaintEmblem(QPainter& p)
{
    QPainterPath shield;
    shield.moveTo(28, 8);
    shield.lineTo(40, 12);
    shield.lineTo(40, 22);
    shield.cubicTo(40, 30, 34, 35, 28, 38);
    shield.cubicTo(22, 35, 16, 30, 16, 22);
    shield.lineTo(16, 12);
    shield.closeSubpath();
    QLinearGradient fill(16, 8, 40, 38);
    fill.setColorAt(0, kAccentLight);
    fill.setColorAt(1, kAccent.darker(130));
    p.fillPath(shield, fill);
    // A small sound wave inside the shield: the voice is the key.
    p.setPen(QPen(QColor(12, 30, 40), 2, Qt::SolidLine, Qt::RoundCap));
    const int bars[] = {4, 9, 13, 8, 5};
    for (int i = 0; i < 5; ++i) {
        int x = 21 + i * 3;
        p.drawLine(x, 22 - bars[i] / 2, x, 22 + bars[i] / 2);
    }
    p.setFont(Font(19, true));
    p.setPen(Qt::white);
    p.drawText(QRect(48, 8, 80, 30), Qt::AlignLeft | Qt::AlignVCenter, "Marlow");
}

void PaintField(QPainter& p, const QRect& caption, const QRect& field, const QString& text)
{
    p.setFont(Font(12, false));
    p.setPen(kCaption);
    p.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, text);
    p.setPen(QPen(kFieldBorder, 1));
    p.setBrush(kFieldFill);
    p.drawRoundedRect(QRectF(field).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

void PaintBadge(QPainter& p)
{
    QLinearGradient fill(0, kBadge.top(), 0, kBadge.bottom());
    fill.setColorAt(0, QColor(22, 34, 60));
    fill.setColorAt(1, QColor(14, 22, 42));
    QColor border = kAccent;
    border.setAlpha(110);
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(kBadge).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

void PaintWavePanel(QPainter& p)
{
    p.setPen(QPen(QColor(42, 54, 88), 1));
    p.setBrush(kWaveBackground);
    p.drawRoundedRect(QRectF(kWavePanel).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

void PaintHintStrip(QPainter& p)
{
    QLinearGradient fill(kHintStrip.left(), 0, kHintStrip.right(), 0);
    fill.setColorAt(0, QColor(46, 196, 182, 46));
    fill.setColorAt(1, QColor(46, 196, 182, 0));
    p.fillRect(kHintStrip, fill);
    p.fillRect(QRect(kHintStrip.left(), kHintStrip.top(), 3, kHintStrip.height()), kAccent);
}

void PaintSpeakerIcon(QPainter& p, const QRect& r)
{
    QPainterPath body;
    body.moveTo(r.left() + 2, r.top() + 6);
    body.lineTo(r.left() + 6, r.top() + 6);
    body.lineTo(r.left() + 11, r.top() + 2);
    body.lineTo(r.left() + 11, r.bottom() - 1);
    body.lineTo(r.left() + 6, r.bottom() - 5);
    body.lineTo(r.left() + 2, r.bottom() - 5);
    body.closeSubpath();
    p.fillPath(body, kCaption);
    p.setPen(QPen(kCaption, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(r.left() + 8, r.top() + 5, 6, 8), -60 * 16, 120 * 16);
    p.drawArc(QRectF(r.left() + 7, r.top() + 2, 10, 14), -60 * 16, 120 * 16);
}

void PaintMicIcon(QPainter& p, const QRect& r, const QColor& colour, qreal width)
{
    QRectF capsule(r.center().x() - 3.5, r.top() + 1, 7, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(capsule, 3.5, 3.5);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(r.center().x() - 6, r.top() + 3, 12, 11), 200 * 16, 140 * 16);
    p.drawLine(QPointF(r.center().x() + 0.5, r.top() + 14), QPointF(r.center().x() + 0.5, r.bottom() - 1));
    p.drawLine(QPointF(r.center().x() - 3, r.bottom() - 1), QPointF(r.center().x() + 4, r.bottom() - 1));
}

void PaintSliderTrack(QPainter& p, const QRect& r, bool filled)
{
    QRectF track = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(QColor(46, 58, 96), 1));
    if (filled) {
        QLinearGradient fill(r.left(), 0, r.right(), 0);
        fill.setColorAt(0, kAccent);
        fill.setColorAt(1, kAccentLight);
        p.setBrush(fill);
    } else {
        p.setBrush(kFieldFill);
    }
    p.drawRoundedRect(track, r.height() / 2.0, r.height() / 2.0);
    if (!filled) {
        // Faint level steps, so that an empty track still reads as a scale.
        p.setPen(QColor(40, 50, 84));
        for (int x = r.left() + 12; x < r.right() - 6; x += 12)
            p.drawLine(x, r.top() + 4, x, r.bottom() - 4);
    }
}

struct RoundButtonColours
{
    QColor light;
    QColor dark;
    QColor glyph;
};

RoundButtonColours HeaderButtonColours(Look look, bool danger)
{
    switch (look) {
    case Look::Over:
        return danger ? RoundButtonColours {QColor(240, 100, 104), QColor(200, 56, 62), Qt::white}
                      : RoundButtonColours {QColor(78, 98, 156), QColor(56, 74, 124), Qt::white};
    case Look::Down:
        return {QColor(22, 30, 56), QColor(30, 40, 70), QColor(180, 192, 220)};
    case Look::Disabled:
        return {QColor(36, 43, 66), QColor(32, 38, 60), QColor(76, 86, 116)};
    case Look::Normal:
        break;
    }
    return {QColor(52, 66, 104), QColor(38, 50, 84), QColor(200, 210, 234)};
}

void PaintRoundBase(QPainter& p, const QRectF& circle, const RoundButtonColours& c)
{
    QLinearGradient fill(0, circle.top(), 0, circle.bottom());
    fill.setColorAt(0, c.light);
    fill.setColorAt(1, c.dark);
    p.setPen(QPen(QColor(10, 14, 28), 1));
    p.setBrush(fill);
    p.drawEllipse(circle);
}

void PaintExitButton(QPainter& p, Look look)
{
    RoundButtonColours c = HeaderButtonColours(look, true);
    int shift = look == Look::Down ? 1 : 0;
    QRectF circle = QRectF(kExitButton).adjusted(1.5, 1.5, -1.5, -1.5);
    PaintRoundBase(p, circle, c);
    p.setPen(QPen(c.glyph, 2, Qt::SolidLine, Qt::RoundCap));
    QPointF centre = circle.center() + QPointF(shift, shift);
    p.drawLine(centre + QPointF(-4.5, -4.5), centre + QPointF(4.5, 4.5));
    p.drawLine(centre + QPointF(4.5, -4.5), centre + QPointF(-4.5, 4.5));
}

void PaintFloppyButton(QPainter& p, Look look)
{
    RoundButtonColours c = HeaderButtonColours(look, false);
    int shift = look == Look::Down ? 1 : 0;
    QRectF circle = QRectF(kFloppyButton).adjusted(1.5, 1.5, -1.5, -1.5);
    PaintRoundBase(p, circle, c);
    // A key: the by-pass key on removable media.
    QPointF centre = circle.center() + QPointF(shift, shift);
    p.setPen(QPen(c.glyph, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(centre.x() - 6.5, centre.y() - 3, 6, 6));
    p.drawLine(centre + QPointF(-0.5, 0), centre + QPointF(6, 0));
    p.drawLine(centre + QPointF(4, 0), centre + QPointF(4, 3));
    p.drawLine(centre + QPointF(6, 0), centre + QPointF(6, 2.5));
}

void PaintRecordButton(QPainter& p, Look look)
{
    QRectF circle = QRectF(kRecordButton).adjusted(3, 3, -3, -3);
    int shift = look == Look::Down ? 1 : 0;
    QColor light, dark, glyph = Qt::white;
    switch (look) {
    case Look::Normal:
        light = QColor(255, 118, 118);
        dark = QColor(206, 52, 58);
        break;
    case Look::Over:
        light = QColor(255, 150, 146);
        dark = QColor(232, 76, 80);
        break;
    case Look::Down:
        light = QColor(178, 44, 50);
        dark = QColor(140, 30, 36);
        glyph = QColor(255, 220, 220);
        break;
    case Look::Disabled:
        light = QColor(82, 90, 120);
        dark = QColor(56, 62, 88);
        glyph = QColor(130, 138, 166);
        break;
    }
    if (look == Look::Over) {
        // A halo in the accent colour invites the press.
        QRadialGradient halo(circle.center(), circle.width() / 2 + 4);
        halo.setColorAt(0.80, QColor(46, 196, 182, 160));
        halo.setColorAt(1.0, QColor(46, 196, 182, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(circle.adjusted(-4, -4, 4, 4));
    }
    p.setPen(QPen(QColor(12, 16, 30), 2));
    p.setBrush(QColor(12, 16, 30));
    p.drawEllipse(circle.adjusted(-1, -1, 1, 1));
    QRadialGradient fill(circle.center() + QPointF(-6, -8 + shift), circle.width() * 0.75);
    fill.setColorAt(0, light);
    fill.setColorAt(1, dark);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(circle.translated(shift, shift));
    // The glossy cap on the upper half.
    if (look != Look::Down && look != Look::Disabled) {
        QLinearGradient gloss(0, circle.top(), 0, circle.center().y());
        gloss.setColorAt(0, QColor(255, 255, 255, 90));
        gloss.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(gloss);
        p.drawEllipse(QRectF(circle.left() + 7, circle.top() + 3, circle.width() - 14, circle.height() / 2 - 2));
    }
    QRect glyphBox(
        static_cast<int>(circle.center().x()) - 9 + shift, static_cast<int>(circle.center().y()) - 10 + shift, 18, 20);
    PaintMicIcon(p, glyphBox, glyph, 2.0);
}

} // namespace

QImage PaintWindow(Look look)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    PaintBody(p);
    PaintEmblem(p);
    PaintField(p, kIdCaption, kIdField, QString::fromUtf8("ユーザーID"));
    // The second row's caption is a skin label: it reads differently when the row takes the password.
    PaintField(p, kWordCaption, kWordField, QString());
    PaintBadge(p);
    PaintWavePanel(p);
    PaintHintStrip(p);
    PaintSpeakerIcon(p, kSpeakerIcon);
    PaintMicIcon(p, kMicIcon, kCaption, 1.5);
    PaintSliderTrack(p, kSpeakerSlider, look == Look::Down);
    PaintSliderTrack(p, kMicSlider, look == Look::Down);
    p.setPen(QColor(38, 48, 79));
    p.drawLine(20, kFooterLine, kWidth - 20, kFooterLine);
    PaintFloppyButton(p, look);
    PaintExitButton(p, look);
    PaintRecordButton(p, look);
    return image;
}

QImage PaintMask()
{
    QImage mask(kWidth, kHeight, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter p(&mask);
    // No anti-aliasing: the outline is cut from exact black and white pixels.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(WindowOutline(), Qt::black);
    return mask;
}

} // namespace skingen::skin_art
