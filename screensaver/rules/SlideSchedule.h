#pragma once

#include <cstddef>
#include <cstdint>

namespace screenveil {

/**
 * When each picture of the slide show changes. A picture stays the interval plus half a second from the
 * moment it started, its transition included; after the last picture the first comes again. Times are
 * milliseconds of any steady clock the caller reads.
 */
class SlideSchedule
{
public:
    SlideSchedule(std::size_t pictureCount, int waitSeconds);

    /** The picture now showing. */
    std::size_t Current() const { return m_current; }
    /** The current picture started at `nowMs`. */
    void Started(std::int64_t nowMs) { m_startedMs = nowMs; }
    /** True once the current picture has had its time. */
    bool Due(std::int64_t nowMs) const;
    /** Moves on to the next picture (wrapping) and returns it; it has not started yet. */
    std::size_t Next();
    /** How long one picture stays. */
    std::int64_t ShowMs() const { return m_showMs; }

private:
    std::size_t m_count;
    std::int64_t m_showMs;
    std::size_t m_current = 0;
    std::int64_t m_startedMs = 0;
};

} // namespace screenveil
