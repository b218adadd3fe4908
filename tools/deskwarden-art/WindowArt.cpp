#include "WindowArt.h"

#include "ArtKit.h"
#include "Glyphs.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace deskwarden_art::window_art {

namespace {

using namespace deskwarden_art::kit;
using glyphs::Glyph;

constexpr int kBandWidth = 828;
constexpr int kBandHeight = 65;
constexpr int kLeftWidth = 581;
constexpr int kColumnWidth = 213;
constexpr int kStripHeight = 4;
constexpr int kRightLeft = 582;
constexpr int kRightWidth = 246;

const char* const kProduct = "Marlow Desk Warden";
const QString kTagline = QStringLiteral("音声認証セキュリティ");

// A smooth trace whose loudness swells in the middle and dies away at both ends, like a spoken word.
QPainterPath VoiceTrace(const QRectF& box, qreal cycles, qreal phase)
{
    QPainterPath path;
    const int steps = static_cast<int>(box.width());
    for (int i = 0; i <= steps; ++i) {
        const qreal t = static_cast<qreal>(i) / steps;
        const qreal envelope = std::pow(std::sin(std::numbers::pi * t), 1.5);
        const qreal y
            = box.center().y() + box.height() / 2 * envelope * std::sin(t * cycles * 2 * std::numbers::pi + phase);
        const QPointF point(box.left() + i, y);
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    return path;
}

// Fades a layer out towards `fadeTo` (alpha 0 there, full at `fullAt`) along x.
void FadeAlongX(QImage& layer, qreal fullAt, qreal fadeTo)
{
    QPainter p(&layer);
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    QLinearGradient fade(fullAt, 0, fadeTo, 0);
    fade.setColorAt(0, Qt::black);
    fade.setColorAt(1, Qt::transparent);
    p.fillRect(layer.rect(), fade);
}

void PaintLeftSwoosh(QPainter& p)
{
    // A paler echo behind the blue gives the curve some depth.
    QPainterPath echo;
    echo.moveTo(0, 0);
    echo.lineTo(456, 0);
    echo.cubicTo(372, 4, 282, 58, kColumnWidth + 22, kBandHeight);
    echo.lineTo(0, kBandHeight);
    echo.closeSubpath();
    p.fillPath(echo, QColor(0xC9, 0xDB, 0xFA));

    QPainterPath swoosh;
    swoosh.moveTo(0, 0);
    swoosh.lineTo(432, 0);
    swoosh.cubicTo(348, 4, 262, 58, kColumnWidth, kBandHeight);
    swoosh.lineTo(0, kBandHeight);
    swoosh.closeSubpath();
    QLinearGradient fill(0, 0, 0, kBandHeight);
    fill.setColorAt(0, QColor(0x2F, 0x78, 0xEE));
    fill.setColorAt(1, kColumnBlue);
    p.fillPath(swoosh, fill);
    // The strip continues the column upwards, so the band and the column read as one surface.
    p.fillRect(0, kBandHeight, kColumnWidth, kStripHeight, kColumnBlue);
}

void PaintTitle(QPainter& p)
{
    PaintEmblem(p, QRectF(20, 9, 38, 46));
    p.setPen(Qt::white);
    p.setFont(Font(Face::Latin, 21, true));
    p.drawText(QPointF(70, 33), kProduct);
    p.setPen(QColor(0xD6, 0xE4, 0xFD));
    p.setFont(Font(Face::Japanese, 12, false));
    p.drawText(QPointF(71, 52), kTagline);
}

QImage LeftWaves()
{
    QImage layer = Transparent(kLeftWidth, kBandHeight);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(400, 10, 200, 44);
    const qreal phases[] = {0.0, 2.1, 4.0};
    const qreal heights[] = {1.0, 0.7, 0.45};
    const int alphas[] = {130, 80, 55};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(WithAlpha(kColumnBlue, alphas[i]), i == 0 ? 1.5 : 1.1));
        const qreal h = box.height() * heights[i];
        p.drawPath(VoiceTrace(QRectF(box.left(), box.center().y() - h / 2, box.width(), h), 2.5, phases[i]));
    }
    p.end();
    FadeAlongX(layer, 480, kLeftWidth - 4);
    return layer;
}

QImage RightPart()
{
    QImage part = Transparent(kRightWidth, kBandHeight);
    QPainter p(&part);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath echo;
    echo.moveTo(kRightWidth, 0);
    echo.lineTo(52, 0);
    echo.cubicTo(98, 4, 132, 58, 170, kBandHeight);
    echo.lineTo(kRightWidth, kBandHeight);
    echo.closeSubpath();
    p.fillPath(echo, QColor(0xC9, 0xDB, 0xFA));
    QPainterPath swoosh;
    swoosh.moveTo(kRightWidth, 0);
    swoosh.lineTo(70, 0);
    swoosh.cubicTo(114, 4, 150, 58, 190, kBandHeight);
    swoosh.lineTo(kRightWidth, kBandHeight);
    swoosh.closeSubpath();
    QLinearGradient fill(0, 0, 0, kBandHeight);
    fill.setColorAt(0, QColor(0x2F, 0x78, 0xEE));
    fill.setColorAt(1, kColumnBlue);
    p.fillPath(swoosh, fill);
    // Rings spreading from the corner: sound leaving the speaker.
    p.setClipPath(swoosh);
    for (int i = 1; i <= 4; ++i) {
        p.setPen(QPen(WithAlpha(Qt::white, 46 - i * 8), 1.2));
        const qreal r = 26.0 * i + 10;
        p.drawEllipse(QPointF(kRightWidth + 8, kBandHeight + 12), r, r);
    }
    return part;
}

struct ButtonLook
{
    QColor fill;
    QColor border;
    QColor disc;
    int offset;
};

ButtonLook LookOf(State state)
{
    switch (state) {
    case State::Over:
        return {WithAlpha(Qt::white, 46), WithAlpha(Qt::white, 150), WithAlpha(Qt::white, 70), 0};
    case State::Down:
        return {WithAlpha(kNightBlue, 170), WithAlpha(Qt::white, 70), WithAlpha(Qt::white, 36), 1};
    case State::Normal:
        break;
    }
    return {WithAlpha(Qt::white, 14), WithAlpha(Qt::white, 52), WithAlpha(Qt::white, 44), 0};
}

struct ButtonFace
{
    int control;
    Glyph glyph;
    const char* label;
};

const ButtonFace kButtons[] = {
    {1001, Glyph::PadlockClosing, "ファイル暗号化"},
    {1002, Glyph::PadlockOpening, "ファイル復号化"},
    {1004, Glyph::ScreenLock, "画面ロック"},
    {1005, Glyph::Gear, "環境設定"},
    {1080, Glyph::Power, "プログラム終了"},
};

const ButtonFace* FaceOf(int control)
{
    for (const ButtonFace& face : kButtons) {
        if (face.control == control)
            return &face;
    }
    return nullptr;
}

// The glyph gets a layer of its own so that its cut-outs show the disc below, not the column.
QImage GlyphLayer(Glyph glyph, int size, const QColor& colour)
{
    QImage layer = Transparent(size, size);
    QPainter p(&layer);
    glyphs::PaintGlyph(p, glyph, QRectF(0, 0, size, size), colour);
    return layer;
}

} // namespace

QImage PaintBand()
{
    QImage band(kBandWidth, kBandHeight + kStripHeight, QImage::Format_ARGB32_Premultiplied);
    band.fill(Qt::white);
    QPainter p(&band);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setClipRect(0, 0, kLeftWidth, kBandHeight + kStripHeight);
    PaintLeftSwoosh(p);
    p.drawImage(0, 0, LeftWaves());
    PaintTitle(p);
    p.setClipping(false);
    p.drawImage(kRightLeft, 0, RightPart());
    return band;
}

QImage PaintColumnLogo()
{
    QImage logo = Transparent(188, 42);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF shield(6, 5, 27, 32);
    p.setPen(QPen(WithAlpha(Qt::white, 230), 1.8));
    p.setBrush(WithAlpha(Qt::white, 40));
    p.drawPath(ShieldPath(shield));
    PaintVoiceBars(p, shield.adjusted(7, 9, -7, -13), 5, Qt::white);
    p.setPen(Qt::white);
    p.setFont(Font(Face::Latin, 17, true));
    p.drawText(QPointF(42, 20), "Marlow");
    p.setPen(QColor(0xC8, 0xDA, 0xFB));
    p.setFont(Font(Face::Latin, 11, false));
    p.drawText(QPointF(43, 35), "Desk Warden");
    return logo;
}

QImage PaintLargeButton(int control, State state)
{
    const ButtonFace* face = FaceOf(control);
    if (face == nullptr)
        return {};
    const ButtonLook look = LookOf(state);
    QImage button = Transparent(188, 52);
    QPainter p(&button);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QPen(look.border, 1));
    p.setBrush(look.fill);
    p.drawRoundedRect(QRectF(1.5, 2.5, 185, 47), 8, 8);
    if (state == State::Over) {
        QLinearGradient sheen(0, 3, 0, 26);
        sheen.setColorAt(0, WithAlpha(Qt::white, 50));
        sheen.setColorAt(1, WithAlpha(Qt::white, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(sheen);
        p.drawRoundedRect(QRectF(2, 3, 184, 23), 7, 7);
    }
    p.translate(look.offset, look.offset);
    p.setPen(Qt::NoPen);
    p.setBrush(look.disc);
    p.drawEllipse(QRectF(10, 8, 36, 36));
    p.drawImage(17, 15, GlyphLayer(face->glyph, 22, Qt::white));
    p.setPen(Qt::white);
    p.setFont(Font(Face::Japanese, 15, true));
    p.drawText(QRectF(56, 2, 128, 48), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(face->label));
    return button;
}

QImage PaintFrameButton(FrameButton button, State state)
{
    QImage picture = Transparent(20, 18);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const bool close = button == FrameButton::Close;
    if (state != State::Normal) {
        QColor fill = state == State::Over ? (close ? QColor(0xE0, 0x43, 0x4B) : WithAlpha(Qt::white, 64))
                                           : (close ? QColor(0xB0, 0x2C, 0x33) : WithAlpha(kNightBlue, 210));
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(0, 0, 20, 18), 3, 3);
    }
    QImage glyph = Transparent(20, 18);
    {
        QPainter g(&glyph);
        const glyphs::FrameGlyph kinds[] = {glyphs::FrameGlyph::Minimise, glyphs::FrameGlyph::Maximise,
            glyphs::FrameGlyph::Restore, glyphs::FrameGlyph::Close};
        const int shift = state == State::Down ? 1 : 0;
        glyphs::PaintFrameGlyph(g, kinds[static_cast<int>(button)], QRect(shift, shift, 20, 18), Qt::white);
    }
    p.drawImage(0, 0, glyph);
    return picture;
}

QImage PaintAbout()
{
    QImage about(400, 240, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&about);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient ground(0, 0, 0, 240);
    ground.setColorAt(0, kAboutBlue.lighter(112));
    ground.setColorAt(1, kAboutBlue.darker(112));
    p.fillRect(about.rect(), ground);
    const QPointF source(84, 116);
    for (int i = 1; i <= 6; ++i) {
        p.setPen(QPen(WithAlpha(Qt::white, 34 - i * 4), 1.5));
        p.setBrush(Qt::NoBrush);
        const qreal r = 58.0 + i * 30;
        p.drawEllipse(source, r, r);
    }
    QRadialGradient glow(source, 80);
    glow.setColorAt(0, WithAlpha(Qt::white, 60));
    glow.setColorAt(1, WithAlpha(Qt::white, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(source, 80, 80);
    PaintEmblem(p, QRectF(44, 64, 80, 96));

    p.setPen(Qt::white);
    p.setFont(Font(Face::Latin, 23, true));
    p.drawText(QPointF(146, 108), "Marlow");
    p.drawText(QPointF(146, 136), "Desk Warden");
    p.fillRect(QRectF(147, 148, 200, 1), WithAlpha(Qt::white, 110));
    p.setPen(QColor(0xE4, 0xEB, 0xFA));
    p.setFont(Font(Face::Japanese, 15, false));
    p.drawText(QPointF(147, 172), kTagline);
    return about;
}

} // namespace deskwarden_art::window_art
