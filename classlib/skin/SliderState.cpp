#include "SliderState.h"

#include <algorithm>

int SliderState::PositionAt(int x, int y) const
{
    int length = Length();
    if (length <= 0)
        return 0;
    int offset = m_horizontal ? x : length - y;
    // A drag that leaves the slider pins it at its end instead of running past 0..100.
    return std::clamp(offset * 100 / length, 0, 100);
}

void SliderState::Press(int x, int y)
{
    m_dragging = true;
    m_position = PositionAt(x, y);
}

bool SliderState::Move(int x, int y)
{
    if (!m_dragging)
        return false;
    int position = PositionAt(x, y);
    if (position == m_position)
        return false;
    m_position = position;
    return true;
}

bool SliderState::Release(int x, int y)
{
    if (!m_dragging)
        return false;
    m_dragging = false;
    return x >= 0 && y >= 0 && x < m_rect.Width() && y < m_rect.Height();
}

bool SliderState::SetPosition(int position)
{
    if (m_dragging)
        return false;
    position = std::clamp(position, 0, 100);
    if (position == m_position)
        return false;
    m_position = position;
    return true;
}

SkinRect SliderState::FilledPart() const
{
    int width = m_rect.Width();
    int height = m_rect.Height();
    if (m_horizontal)
        return {0, 0, width * m_position / 100, height};
    int filled = height * m_position / 100;
    return {0, height - filled, width, height};
}
