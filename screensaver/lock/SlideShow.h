#pragma once

#include "lock/LockSettings.h"
#include "rules/SlideSchedule.h"
#include "rules/Transitions.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <random>
#include <string>

namespace screenveil {

/**
 * The slide show on a canvas of the screen's size: each picture on the background colour, brought in by a
 * transition drawn at random, kept for its time, then the next; without a picture it can show, the
 * gradient with the title. Driven by Tick with the time of any steady clock, so that it runs the same under
 * a test's clock as under the window's timer. A picture that cannot be read is skipped.
 */
/** The title on the gradient shown when there is no picture, and its look. */
struct GradientTitle
{
    const char* text = "Marlow Screensaver";
    const char* family = "IPAPGothic";
    int pixelSize = 36;
};

class SlideShow
{
public:
    SlideShow(const LockContent& content, QSize screen, unsigned seed, GradientTitle title = GradientTitle());

    /** Moves the show on to `nowMs`. @return true when the canvas changed. */
    bool Tick(std::int64_t nowMs);
    /** Stops at once, mid-transition too; the canvas keeps what it shows. */
    void Stop() { m_stopped = true; }

    const QImage& Canvas() const { return m_canvas; }
    /** The list index of the picture being shown, or -1 while the gradient shows. */
    int ShownPicture() const { return m_shown; }
    /** How many pictures were skipped as unreadable. */
    int SkippedCount() const { return m_skipped; }

private:
    bool StartPicture(std::int64_t nowMs);
    bool PrepareNextReadable();
    void PaintGradient();
    void Apply(const std::vector<StripCopy>& copies);

    GradientTitle m_title;
    DisplaySettings m_display;
    std::vector<std::string> m_pictures;
    SlideSchedule m_schedule;
    std::mt19937 m_random;
    QImage m_canvas;
    QImage m_placed; // the current picture at its place's size
    Rect m_place;
    TransitionPlayer m_player;
    bool m_begun = false;
    bool m_stopped = false;
    int m_shown = -1;
    int m_skipped = 0;
};

/** Paints the 255-band vertical gradient with `title` over the whole of `canvas`. */
void PaintGradient(QImage& canvas, const GradientTitle& title);

} // namespace screenveil
