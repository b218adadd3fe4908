#pragma once

#include <string>

namespace screenveil {

struct Rect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

enum class PictureKind
{
    Jpeg,
    Bmp,
    Unsupported,
};

/** The kind named by the last three characters of `path` ("jpg" or "bmp", any letter case). */
PictureKind PictureKindOf(const std::string& path);

/**
 * Where a picture of `width` x `height` goes on a screen of `screenWidth` x `screenHeight`: scaled to fit
 * with its proportions kept when `fit`, else at its own size; centred either way, so a picture larger
 * than the screen is clipped evenly on both sides. A picture without pixels gets an empty rectangle.
 */
Rect PlacePicture(int width, int height, int screenWidth, int screenHeight, bool fit);

} // namespace screenveil
