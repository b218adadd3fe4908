#pragma once

#include <QImage>

// The main window's pictures: the top band, the column's wordmark, the five large buttons in three states,
// the frame buttons, and the program-information picture.
namespace deskwarden_art::window_art {

enum class State
{
    Normal,
    Over,
    Down,
};

/** 828 x 69: the left part (581 x 65), the strip under it (213 x 4 at y 65), the right part (246 x 65 at x 582). */
QImage PaintBand();

/** 188 x 42: the wordmark drawn on the blue column, light on a transparent ground. */
QImage PaintColumnLogo();

/** 188 x 52: one large button of the column (control 1001, 1002, 1004, 1005 or 1080); null for others. */
QImage PaintLargeButton(int control, State state);

enum class FrameButton
{
    Minimise,
    Maximise,
    Restore,
    Close,
};

/** 20 x 18: a frame button for the blue end of the band. */
QImage PaintFrameButton(FrameButton button, State state);

/** 400 x 240: the program-information and splash picture. */
QImage PaintAbout();

} // namespace deskwarden_art::window_art
