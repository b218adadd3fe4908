#include "MaskRegion.h"

#include <algorithm>

namespace {

// Cut-out colour and tolerance: white plus 16 per channel, capped at 255, so only pure white qualifies.
constexpr int kCutColour = 255;
constexpr int kTolerance = 16;

bool ChannelCut(int value)
{
    int low = kCutColour;
    int high = std::min(255, kCutColour + kTolerance);
    return value >= low && value <= high;
}

} // namespace

bool IsMaskedOut(uint32_t pixel)
{
    return ChannelCut(static_cast<int>((pixel >> 16) & 0xFF)) && ChannelCut(static_cast<int>((pixel >> 8) & 0xFF))
        && ChannelCut(static_cast<int>(pixel & 0xFF));
}

std::vector<SkinRect> MaskRuns(const uint32_t* pixels, int width, int height, int stride)
{
    std::vector<SkinRect> runs;
    if (pixels == nullptr || width <= 0 || height <= 0 || stride < width)
        return runs;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(stride);
        int x = 0;
        while (x < width) {
            while (x < width && IsMaskedOut(row[x]))
                ++x;
            int start = x;
            while (x < width && !IsMaskedOut(row[x]))
                ++x;
            if (x > start)
                runs.push_back({start, y, x, y + 1});
        }
    }
    return runs;
}
