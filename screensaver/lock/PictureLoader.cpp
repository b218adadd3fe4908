#include "lock/PictureLoader.h"

#include "rules/SlideGeometry.h"

#include <QString>

namespace screenveil {

QImage LoadSlide(const std::string& path, PictureFailure& failure)
{
    switch (PictureKindOf(path)) {
    case PictureKind::Jpeg:
        return DecodeJpegFile(path, failure);
    case PictureKind::Bmp: {
        QImage image(QString::fromStdString(path), "BMP");
        if (image.isNull())
            failure = PictureFailure {"BMP", "Can't read " + path};
        return image;
    }
    case PictureKind::Unsupported:
        break;
    }
    failure = PictureFailure {"", "not a JPEG or BMP picture: " + path};
    return QImage();
}

} // namespace screenveil
