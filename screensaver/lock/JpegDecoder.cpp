#include "lock/JpegDecoder.h"

#include <platform/JpegPicture.h>

namespace screenveil {

namespace {

constexpr const char* kFatalCaption = "JPEG Fatal Error";
// A slide larger than a big camera picture is refused before its pixels take memory.
constexpr std::size_t kLargestSlide = 64u * 1024u * 1024u;

} // namespace

QImage DecodeJpegFile(const std::string& path, PictureFailure& failure)
{
    using platform::jpeg::JpegFailure;
    JpegFailure why;
    const platform::jpeg::RgbPicture picture = platform::jpeg::DecodeFile(path, kLargestSlide, why);
    switch (why.kind) {
    case JpegFailure::Kind::None:
        break;
    case JpegFailure::Kind::CannotOpen:
        failure = PictureFailure {"JPEG", "JPEG :\nCan't open " + path + "\n"};
        return QImage();
    case JpegFailure::Kind::Damaged:
        failure = PictureFailure {kFatalCaption, why.message};
        return QImage();
    case JpegFailure::Kind::TooLarge:
        failure = PictureFailure {"JPEG", "JpegFile :\nOut of memory"};
        return QImage();
    }
    const QImage view(picture.pixels.data(), picture.width, picture.height, picture.width * 3, QImage::Format_RGB888);
    return view.copy();
}

} // namespace screenveil
