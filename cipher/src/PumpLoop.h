#pragma once

#include "ContinueFlag.h"
#include "MessageTarget.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace cipherwell {

// Milliseconds from an arbitrary start; only differences are used.
using TickSource = std::function<std::uint64_t()>;

[[nodiscard]] std::uint64_t SteadyMilliseconds();

enum class LoopEnd
{
    SourceDrained,
    Cancelled
};

// Drives the pumps of one file: start message, rate-limited progress messages, the cancellation question
// and the final progress message.
class PumpLoop
{
public:
    // Moves the next piece of the source into the chain; returns the bytes moved, 0 when the source is dry.
    using Pump = std::function<std::size_t()>;

    PumpLoop(MessageTarget target, ContinueFlag flag, std::uint32_t intervalMs, TickSource ticks);

    [[nodiscard]] LoopEnd Run(std::int64_t tag, const Pump& pump);

private:
    [[nodiscard]] bool CancellationConfirmed() const;
    void CountAndReport(std::size_t moved);

    MessageTarget m_target;
    ContinueFlag m_flag;
    std::uint32_t m_intervalMs;
    TickSource m_ticks;
    std::uint64_t m_bytesSinceLast = 0;
    std::uint64_t m_bytesSinceStart = 0;
    std::uint64_t m_lastTick = 0;
};

} // namespace cipherwell
