#pragma once

#include <cstdint>

/** A rectangle in window pixels; right and bottom are exclusive, as in the skin file's x, y, width, height. */
struct SkinRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const SkinRect&, const SkinRect&) = default;
};

/** A colour of the skin file: red, green, blue, each 0..255 when the file is sensible. */
struct SkinColor
{
    int r = 0;
    int g = 0;
    int b = 0;

    friend bool operator==(const SkinColor&, const SkinColor&) = default;
};

struct SkinPoint
{
    int x = 0;
    int y = 0;

    friend bool operator==(const SkinPoint&, const SkinPoint&) = default;
};

/** A straight line from `from` to `to`, both ends drawn. */
struct SkinLine
{
    SkinPoint from;
    SkinPoint to;

    friend bool operator==(const SkinLine&, const SkinLine&) = default;
};
