#include "PumpLoop.h"

#include <chrono>
#include <utility>

namespace cipherwell {

std::uint64_t SteadyMilliseconds()
{
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count());
}

PumpLoop::PumpLoop(MessageTarget target, ContinueFlag flag, std::uint32_t intervalMs, TickSource ticks)
    : m_target(target)
    , m_flag(flag)
    , m_intervalMs(intervalMs)
    , m_ticks(std::move(ticks))
{
}

LoopEnd PumpLoop::Run(std::int64_t tag, const Pump& pump)
{
    m_lastTick = m_ticks();
    m_target.PostStart(tag);
    for (std::size_t moved = pump(); moved > 0; moved = pump()) {
        if (CancellationConfirmed()) {
            return LoopEnd::Cancelled;
        }
        CountAndReport(moved);
    }
    m_target.PostProgress(m_bytesSinceLast, m_bytesSinceStart);
    return LoopEnd::SourceDrained;
}

bool PumpLoop::CancellationConfirmed() const
{
    if (!m_flag.IsCleared()) {
        return false;
    }
    if (m_target.ConfirmCancellation()) {
        return true;
    }
    // Setting the flag again answers this request, so the question comes once per request.
    m_flag.Restore();
    return false;
}

void PumpLoop::CountAndReport(std::size_t moved)
{
    m_bytesSinceLast += moved;
    m_bytesSinceStart += moved;
    const std::uint64_t now = m_ticks();
    if (now - m_lastTick > m_intervalMs) {
        m_target.PostProgress(m_bytesSinceLast, m_bytesSinceStart);
        m_bytesSinceLast = 0;
        m_lastTick = now;
    }
}

} // namespace cipherwell
