#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// JPEG pictures decoded with libjpeg's own interface: the skin previews and the lock screen's slides.
namespace platform::jpeg {

/** A decoded picture: 24-bit pixels, three bytes (red, green, blue) each, rows from the top, no padding. */
struct RgbPicture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    bool IsEmpty() const { return width == 0 || height == 0; }
};

/** Why a picture did not decode. */
struct JpegFailure
{
    enum class Kind
    {
        None,
        CannotOpen, // the file could not be opened
        Damaged, // libjpeg gave up; `message` is its own text
        TooLarge, // the header claims more pixels than the caller allows
    };
    Kind kind = Kind::None;
    std::string message;
};

/**
 * Decodes the JPEG file at `path`; grey pictures are widened to three channels. A picture whose header
 * claims more than `maxPixels` pixels is refused before any pixel memory is taken.
 * @return the picture; an empty one, with `failure` filled, for a missing, damaged or too large file.
 */
RgbPicture DecodeFile(const std::string& path, std::size_t maxPixels, JpegFailure& failure) noexcept;

} // namespace platform::jpeg
