#pragma once

#include "SkinGeometry.h"

/**
 * Position arithmetic of a skin slider (0..100). Horizontal sliders count from the left edge; vertical
 * ones from the bottom edge, so that up means more, as on a volume fader.
 */
class SliderState
{
public:
    SliderState(const SkinRect& rect, bool horizontal)
        : m_rect(rect)
        , m_horizontal(horizontal)
    {
    }

    /** Position for a point in slider coordinates (0,0 = the slider's top-left): offset x 100 / length. */
    int PositionAt(int x, int y) const;

    /** Mouse pressed at (x, y): dragging starts and the position follows the point. */
    void Press(int x, int y);
    /** Mouse moved: while dragging the position follows. Returns whether it changed. */
    bool Move(int x, int y);
    /** Mouse released: dragging ends. Returns true when the release lies inside, so the change counts. */
    bool Release(int x, int y);

    /**
     * Position from the program: dropped while the user drags and when unchanged; above 100 shows 100,
     * below 0 shows 0. Returns whether it changed.
     */
    bool SetPosition(int position);

    int Position() const { return m_position; }
    bool IsDragging() const { return m_dragging; }
    bool IsHorizontal() const { return m_horizontal; }

    /** The part of the slider (slider coordinates) drawn from the pressed picture: up to the position. */
    SkinRect FilledPart() const;

private:
    int Length() const { return m_horizontal ? m_rect.Width() : m_rect.Height(); }

    SkinRect m_rect;
    bool m_horizontal;
    bool m_dragging = false;
    int m_position = 0;
};
