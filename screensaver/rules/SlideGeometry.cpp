#include "rules/SlideGeometry.h"

#include <platform/AsciiCase.h>

#include <algorithm>

namespace screenveil {

PictureKind PictureKindOf(const std::string& path)
{
    if (path.size() < 3)
        return PictureKind::Unsupported;
    const std::string ending = platform::FoldAscii(std::string_view(path).substr(path.size() - 3));
    if (ending == "jpg")
        return PictureKind::Jpeg;
    if (ending == "bmp")
        return PictureKind::Bmp;
    return PictureKind::Unsupported;
}

Rect PlacePicture(int width, int height, int screenWidth, int screenHeight, bool fit)
{
    if (width <= 0 || height <= 0 || screenWidth <= 0 || screenHeight <= 0)
        return Rect {};
    int shownWidth = width;
    int shownHeight = height;
    if (fit) {
        // Compare the two ratios in integers: the wider ratio decides which side touches the screen.
        if (static_cast<long long>(screenWidth) * height <= static_cast<long long>(screenHeight) * width) {
            shownWidth = screenWidth;
            shownHeight = std::max(1, static_cast<int>(static_cast<long long>(height) * screenWidth / width));
        } else {
            shownHeight = screenHeight;
            shownWidth = std::max(1, static_cast<int>(static_cast<long long>(width) * screenHeight / height));
        }
    }
    return Rect {(screenWidth - shownWidth) / 2, (screenHeight - shownHeight) / 2, shownWidth, shownHeight};
}

} // namespace screenveil
