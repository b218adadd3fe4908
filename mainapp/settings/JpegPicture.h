#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace deskwarden::settings {

/** A decoded picture: 24-bit pixels, three bytes (red, green, blue) each, rows from the top, no padding. */
struct RgbPicture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    bool IsEmpty() const { return width == 0 || height == 0; }
};

/**
 * Decodes the JPEG file at `path` with libjpeg; grey pictures are widened to three channels.
 * @return the picture; an empty one (with the reason in `error`) for a missing or damaged file.
 */
RgbPicture DecodeJpeg(const std::string& path, std::string& error) noexcept;

} // namespace deskwarden::settings
