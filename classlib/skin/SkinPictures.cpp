#include "SkinPictures.h"

#include "MaskRegion.h"

#include <QRect>

#include <vector>

namespace {

QImage LoadPicture(const std::string& path)
{
    QImage image;
    if (!path.empty())
        image.load(QString::fromStdString(path));
    return image;
}

} // namespace

void SkinPictures::Load(const SkinModel& model)
{
    m_normal = LoadPicture(model.mainPicture);
    m_mask = LoadPicture(model.maskPicture);
    m_over = LoadPicture(model.overPicture);
    m_down = LoadPicture(model.downPicture);
    m_disabled = LoadPicture(model.disabledPicture);
}

void SkinPictures::Clear()
{
    *this = SkinPictures {};
}

QPixmap SkinPictures::Cut(const QImage& picture, const SkinRect& rect)
{
    if (picture.isNull() || rect.IsEmpty())
        return QPixmap();
    return QPixmap::fromImage(picture.copy(rect.left, rect.top, rect.Width(), rect.Height()));
}

QRegion SkinPictures::RegionOfMask(const QImage& mask)
{
    if (mask.isNull())
        return QRegion();
    QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    std::vector<SkinRect> runs = MaskRuns(reinterpret_cast<const uint32_t*>(pixels.constBits()), pixels.width(),
        pixels.height(), static_cast<int>(pixels.bytesPerLine() / 4));
    std::vector<QRect> rects;
    rects.reserve(runs.size());
    for (const SkinRect& run : runs)
        rects.emplace_back(run.left, run.top, run.Width(), run.Height());
    // The runs come scan line by scan line, left to right, without overlap: already a banded region.
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}
