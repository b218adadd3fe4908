#pragma once

#include <QImage>

// The pictures of the default skin. Every picture is the whole window; they differ only where buttons and
// sliders sit, which is all the skin engine cuts out of them.
namespace skingen::skin_art {

enum class Look
{
    Normal,
    Over,
    Down,
    Disabled,
};

/** The window in one look (Down also shows the sliders' filled tracks). */
QImage PaintWindow(Look look);

/** Black where the window is, pure white where it is cut away. */
QImage PaintMask();

} // namespace skingen::skin_art
