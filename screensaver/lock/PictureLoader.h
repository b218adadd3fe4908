#pragma once

#include "lock/JpegDecoder.h"

#include <QImage>

#include <string>

namespace screenveil {

/**
 * Loads one slide: JPEG through libjpeg, BMP through Qt's reader; any other ending is not a slide.
 * @return the picture, or a null image with the reason in `failure`.
 */
QImage LoadSlide(const std::string& path, PictureFailure& failure);

} // namespace screenveil
