#pragma once

#include <cstddef>
#include <string>

/**
 * The text logic of a scrolling skin label. Text is UTF-8; its length is counted in display cells, a
 * character outside ASCII counting two (as a double-byte character of the system code page did), and the
 * scroll offset never stops inside a character.
 */
class LabelScroller
{
public:
    static constexpr int kTickMs = 200;
    static constexpr const char* kWrapMarker = " <-- ";

    /**
     * New text (or a new font): capacity = clientWidth x 2 / widthOfW (integer division), offset 0.
     * Returns whether the label now scrolls (its text is longer than the capacity).
     */
    bool SetText(const std::string& text, int clientWidth, int widthOfW);

    /** One timer tick: advances the offset unless the timer is disabled. Returns whether to repaint. */
    bool Tick();

    /** The text to draw from the current offset, with the wrap-around tail while scrolling. */
    std::string DisplayText() const;

    void SetTimerEnabled(bool enabled) { m_timerEnabled = enabled; }
    bool IsTimerEnabled() const { return m_timerEnabled; }
    bool IsScrolling() const { return m_scrolling; }
    int Capacity() const { return m_capacity; }
    size_t Offset() const { return m_offset; }
    const std::string& Text() const { return m_text; }

    /** Display cells of a UTF-8 text. */
    static int DisplayCells(const std::string& text);

private:
    size_t NextBoundary(size_t position) const;

    std::string m_text;
    int m_capacity = 0;
    size_t m_offset = 0;
    bool m_scrolling = false;
    bool m_timerEnabled = true;
};
