#pragma once

#include <QImage>

#include <string>

namespace screenveil {

/** Why a JPEG picture could not be shown: the text and caption of its message. */
struct PictureFailure
{
    std::string caption;
    std::string text;
};

/**
 * Decodes the JPEG file at `path` to 24-bit pixels with libjpeg. A damaged file is the library's to
 * report: its message comes back in `failure` (caption "JPEG Fatal Error") and no partial picture is kept.
 * @return the picture, or a null image with `failure` filled.
 */
QImage DecodeJpegFile(const std::string& path, PictureFailure& failure);

} // namespace screenveil
