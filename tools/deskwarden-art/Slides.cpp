#include "Slides.h"

#include "ArtKit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdint>

namespace deskwarden_art::slides {

namespace {

using deskwarden_art::kit::WithAlpha;

constexpr int W = kSlideWidth;
constexpr int H = kSlideHeight;

// A fixed linear congruential sequence: stars and ridges land in the same places on every machine.
class Sequence
{
public:
    explicit Sequence(std::uint32_t seed)
        : m_state(seed)
    {
    }
    double Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) / static_cast<double>(1u << 24);
    }

private:
    std::uint32_t m_state;
};

void Sky(QPainter& p, const QColor& top, const QColor& horizon, int horizonY)
{
    QLinearGradient sky(0, 0, 0, horizonY);
    sky.setColorAt(0, top);
    sky.setColorAt(1, horizon);
    p.fillRect(QRect(0, 0, W, horizonY), sky);
}

// A ridge line from summed sine waves; `base` is its mean height, `rough` its swing.
QPainterPath Ridge(double base, double rough, double seed)
{
    QPainterPath ridge;
    ridge.moveTo(0, H);
    for (int x = 0; x <= W; x += 4) {
        const double y = base
            - rough
                * (0.55 * std::sin(x / 130.0 + seed) + 0.3 * std::sin(x / 53.0 + seed * 2.1)
                    + 0.15 * std::sin(x / 21.0 + seed * 3.7));
        ridge.lineTo(x, y);
    }
    ridge.lineTo(W, H);
    ridge.closeSubpath();
    return ridge;
}

void Glow(QPainter& p, const QPointF& centre, qreal radius, const QColor& colour)
{
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0, colour);
    glow.setColorAt(1, WithAlpha(colour, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, radius, radius);
}

void DawnMountains(QPainter& p)
{
    Sky(p, QColor(0x3A, 0x5C, 0x9E), QColor(0xF6, 0xC9, 0xA0), 420);
    Glow(p, QPointF(560, 380), 220, QColor(255, 236, 200, 150));
    p.setBrush(QColor(255, 246, 228));
    p.drawEllipse(QPointF(560, 380), 34, 34);
    const QColor layers[]
        = {QColor(0x8C, 0x8F, 0xB8), QColor(0x5E, 0x6A, 0x9C), QColor(0x3A, 0x48, 0x7A), QColor(0x22, 0x2E, 0x58)};
    for (int i = 0; i < 4; ++i)
        p.fillPath(Ridge(330 + i * 70, 70 - i * 10, i * 1.9 + 0.4), layers[i]);
}

void QuietSea(QPainter& p)
{
    constexpr int kHorizon = 330;
    Sky(p, QColor(0x6A, 0x9C, 0xD8), QColor(0xE4, 0xEE, 0xF6), kHorizon);
    QLinearGradient sea(0, kHorizon, 0, H);
    sea.setColorAt(0, QColor(0x7A, 0xA8, 0xCC));
    sea.setColorAt(1, QColor(0x1E, 0x4C, 0x7E));
    p.fillRect(QRect(0, kHorizon, W, H - kHorizon), sea);
    Glow(p, QPointF(260, 250), 120, QColor(255, 255, 240, 170));
    p.setBrush(QColor(255, 252, 236));
    p.drawEllipse(QPointF(260, 250), 26, 26);
    // The sun's path on the water: short bright strokes, fewer and dimmer towards the viewer.
    Sequence random(7);
    for (int row = 0; row < 60; ++row) {
        const double y = kHorizon + 4 + row * row * 0.07 + row * 1.5;
        const double spread = 10 + row * 2.2;
        const int alpha = 160 - row * 2;
        p.setPen(QPen(QColor(255, 248, 220, std::max(alpha, 20)), 1.2 + row * 0.03));
        const double x = 260 + (random.Next() - 0.5) * spread;
        p.drawLine(QPointF(x - 6 - row * 0.3, y), QPointF(x + 6 + row * 0.3, y));
    }
    // Soft clouds along the horizon.
    for (int i = 0; i < 6; ++i) {
        const QPointF c(80 + i * 140 + random.Next() * 40, 120 + random.Next() * 80);
        Glow(p, c, 70 + random.Next() * 40, QColor(255, 255, 255, 70));
    }
}

void GreenHills(QPainter& p)
{
    Sky(p, QColor(0x4E, 0x8E, 0xE0), QColor(0xCF, 0xE6, 0xF7), 420);
    Sequence random(31);
    // Each cloud is a row of overlapping soft puffs, flatter than tall.
    for (int i = 0; i < 4; ++i) {
        const QPointF c(90 + i * 200 + random.Next() * 60, 90 + random.Next() * 90);
        for (int puff = 0; puff < 7; ++puff) {
            const QPointF at = c + QPointF(puff * 22 - 66, std::sin(puff * 1.3) * 8);
            p.save();
            p.translate(at);
            p.scale(1.6, 0.8);
            Glow(p, QPointF(0, 0), 34 + random.Next() * 14, QColor(255, 255, 255, 70));
            p.restore();
        }
    }
    const QColor hills[]
        = {QColor(0x9C, 0xC4, 0x8A), QColor(0x72, 0xA8, 0x5E), QColor(0x4E, 0x8A, 0x44), QColor(0x36, 0x6C, 0x32)};
    for (int i = 0; i < 4; ++i)
        p.fillPath(Ridge(380 + i * 55, 40 - i * 4, i * 2.7 + 1.1), hills[i]);
}

void StarryNight(QPainter& p)
{
    Sky(p, QColor(0x06, 0x0C, 0x26), QColor(0x1C, 0x2E, 0x62), H);
    Sequence random(2026);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 420; ++i) {
        const double x = random.Next() * W;
        const double y = random.Next() * 470;
        const double size = 0.4 + random.Next() * random.Next() * 1.6;
        const int alpha = 90 + static_cast<int>(random.Next() * 165);
        p.setBrush(QColor(255, 255, 255, alpha));
        p.drawEllipse(QPointF(x, y), size, size);
    }
    Glow(p, QPointF(620, 130), 110, QColor(220, 230, 255, 70));
    p.setBrush(QColor(0xF4, 0xF2, 0xE4));
    p.drawEllipse(QPointF(620, 130), 38, 38);
    p.setBrush(QColor(0xDD, 0xDA, 0xC8));
    p.drawEllipse(QPointF(608, 120), 7, 7);
    p.drawEllipse(QPointF(632, 146), 5, 5);
    p.fillPath(Ridge(520, 30, 0.8), QColor(0x0A, 0x12, 0x2C));
}

void BlueWaves(QPainter& p)
{
    QLinearGradient ground(0, 0, W, H);
    ground.setColorAt(0, QColor(0x12, 0x4A, 0xB8));
    ground.setColorAt(1, QColor(0x08, 0x24, 0x66));
    p.fillRect(QRect(0, 0, W, H), ground);
    // Bands of sound: layered waves across the picture, each a little paler than the one behind.
    for (int band = 0; band < 9; ++band) {
        QPainterPath wave;
        const double base = 120 + band * 55;
        wave.moveTo(0, H);
        for (int x = 0; x <= W; x += 4) {
            const double y
                = base + 28 * std::sin(x / (90.0 + band * 9) + band * 0.9) + 12 * std::sin(x / 37.0 + band * 1.7);
            wave.lineTo(x, y);
        }
        wave.lineTo(W, H);
        wave.closeSubpath();
        p.fillPath(wave, QColor(0x5A, 0x9C, 0xF0, 22 + band * 3));
    }
    Glow(p, QPointF(200, 160), 260, QColor(255, 255, 255, 40));
}

} // namespace

QImage PaintSlide(int index)
{
    if (index < 0 || index >= kSlideCount)
        return {};
    QImage slide(W, H, QImage::Format_RGB32);
    slide.fill(Qt::black);
    QPainter p(&slide);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0:
        DawnMountains(p);
        break;
    case 1:
        QuietSea(p);
        break;
    case 2:
        GreenHills(p);
        break;
    case 3:
        StarryNight(p);
        break;
    default:
        BlueWaves(p);
        break;
    }
    p.end();
    return slide.convertToFormat(QImage::Format_RGB888);
}

} // namespace deskwarden_art::slides
