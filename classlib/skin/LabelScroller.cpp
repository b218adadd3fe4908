#include "LabelScroller.h"

namespace {

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

} // namespace

int LabelScroller::DisplayCells(const std::string& text)
{
    int cells = 0;
    for (unsigned char c : text) {
        if (c < 0x80)
            cells += 1;
        else if (!IsContinuation(c))
            cells += 2;
    }
    return cells;
}

bool LabelScroller::SetText(const std::string& text, int clientWidth, int widthOfW)
{
    m_text = text;
    m_capacity = widthOfW > 0 ? clientWidth * 2 / widthOfW : 0;
    m_offset = 0;
    m_scrolling = DisplayCells(m_text) > m_capacity;
    return m_scrolling;
}

size_t LabelScroller::NextBoundary(size_t position) const
{
    while (position < m_text.size() && IsContinuation(static_cast<unsigned char>(m_text[position])))
        ++position;
    return position;
}

bool LabelScroller::Tick()
{
    if (!m_scrolling || !m_timerEnabled || m_text.empty())
        return false;
    if (m_offset >= m_text.size()) {
        m_offset = m_text.size() - 1;
        while (m_offset > 0 && IsContinuation(static_cast<unsigned char>(m_text[m_offset])))
            --m_offset;
    }
    // A blank moves one cell, anything else two: one double-width character, or two narrow ones.
    size_t step = m_text[m_offset] == ' ' ? 1 : 2;
    m_offset = NextBoundary(m_offset + step);
    if (m_offset > m_text.size())
        m_offset = 0;
    return true;
}

std::string LabelScroller::DisplayText() const
{
    std::string shown = m_offset < m_text.size() ? m_text.substr(m_offset) : std::string();
    if (m_scrolling && DisplayCells(shown) < m_capacity)
        shown += kWrapMarker + m_text;
    return shown;
}
