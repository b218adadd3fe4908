#include "lock/SlideShow.h"

#include "lock/PictureLoader.h"

#include <QPainter>

#include <cstdio>

namespace screenveil {

namespace {

constexpr int kGradientBands = 255;

QColor ToQColor(const Rgb& colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

} // namespace

void PaintGradient(QImage& canvas, const GradientTitle& title)
{
    QPainter painter(&canvas);
    const int height = canvas.height();
    for (int band = 0; band < kGradientBands; ++band) {
        const int top = band * height / kGradientBands;
        const int bottom = (band + 1) * height / kGradientBands;
        const int grey = 128 - band / 2;
        painter.fillRect(0, top, canvas.width(), bottom - top, QColor(grey, grey, 255 - band));
    }
    QFont font(title.family);
    font.setPixelSize(title.pixelSize);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(64, 255, 128));
    painter.drawText(
        QRect(0, height / 8, canvas.width(), title.pixelSize * 2), Qt::AlignHCenter | Qt::AlignTop, title.text);
}

SlideShow::SlideShow(const LockContent& content, QSize screen, unsigned seed, GradientTitle title)
    : m_title(title)
    , m_display(content.display)
    , m_pictures(content.pictures)
    , m_schedule(content.pictures.size(), content.display.waitSeconds)
    , m_random(seed)
    , m_canvas(screen, QImage::Format_RGB32)
{
    m_canvas.fill(ToQColor(m_display.background));
}

bool SlideShow::Tick(std::int64_t nowMs)
{
    if (m_stopped)
        return false;
    if (!m_begun) {
        m_begun = true;
        return StartPicture(nowMs);
    }
    if (!m_player.Finished()) {
        const std::vector<StripCopy> copies = m_player.Due(nowMs);
        Apply(copies);
        return !copies.empty();
    }
    if (m_shown < 0 || !m_schedule.Due(nowMs))
        return false;
    m_schedule.Next();
    return StartPicture(nowMs);
}

bool SlideShow::StartPicture(std::int64_t nowMs)
{
    if (!PrepareNextReadable()) {
        m_shown = -1;
        PaintGradient();
        return true;
    }
    m_canvas.fill(ToQColor(m_display.background));
    m_schedule.Started(nowMs);
    m_shown = static_cast<int>(m_schedule.Current());
    RandomBelow random = [this](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); };
    const bool jpeg = PictureKindOf(m_pictures[m_schedule.Current()]) == PictureKind::Jpeg;
    const int index = random(jpeg ? kJpegTransitionCount : kBmpTransitionCount);
    m_player = TransitionPlayer(jpeg ? JpegTransition(index, m_place.width, m_place.height)
                                     : BmpTransition(index, m_place.width, m_place.height, random),
        nowMs);
    Apply(m_player.Due(nowMs));
    return true;
}

// Tries the pictures from the current one on, once round the list, and keeps the first that reads.
bool SlideShow::PrepareNextReadable()
{
    for (std::size_t tried = 0; tried < m_pictures.size(); ++tried) {
        const std::string& path = m_pictures[m_schedule.Current()];
        PictureFailure failure;
        const QImage picture = LoadSlide(path, failure);
        if (!picture.isNull()) {
            m_place = PlacePicture(
                picture.width(), picture.height(), m_canvas.width(), m_canvas.height(), m_display.fullSize);
            m_placed = picture.size() == QSize(m_place.width, m_place.height)
                ? picture.convertToFormat(QImage::Format_RGB32)
                : picture.scaled(m_place.width, m_place.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_RGB32);
            return true;
        }
        std::fprintf(stderr, "ScreenVeil: picture skipped: %s\n", failure.text.c_str());
        ++m_skipped;
        m_schedule.Next();
    }
    return false;
}

void SlideShow::PaintGradient()
{
    screenveil::PaintGradient(m_canvas, m_title);
    m_player = TransitionPlayer();
}

void SlideShow::Apply(const std::vector<StripCopy>& copies)
{
    if (copies.empty())
        return;
    QPainter painter(&m_canvas);
    for (const StripCopy& copy : copies) {
        const QRect source(copy.source.x, copy.source.y, copy.source.width, copy.source.height);
        painter.drawImage(QPoint(m_place.x + copy.destX, m_place.y + copy.destY), m_placed, source);
    }
}

} // namespace screenveil
