#include "rules/SlideSchedule.h"

#include <algorithm>

namespace screenveil {

SlideSchedule::SlideSchedule(std::size_t pictureCount, int waitSeconds)
    : m_count(pictureCount)
    , m_showMs(static_cast<std::int64_t>(std::max(0, waitSeconds)) * 1000 + 500)
{
}

bool SlideSchedule::Due(std::int64_t nowMs) const
{
    return nowMs - m_startedMs >= m_showMs;
}

std::size_t SlideSchedule::Next()
{
    m_current = m_count == 0 ? 0 : (m_current + 1) % m_count;
    return m_current;
}

} // namespace screenveil
