#pragma once

#include <functional>
#include <string_view>
#include <utility>

// The one way out for the engine's progress lines (the passes of a model update, frames the word
// recogniser had to repeat). They go to standard output unless a tool built into the same process takes
// them, so that the library's callers see them exactly as they always have.
namespace halvox {

/** Receives one progress line, without its line end. Lines arrive one at a time, from any thread. */
using LogSink = std::function<void(std::string_view line)>;

/**
 * Makes `sink` the receiver of every progress line of the process; an empty sink restores standard output.
 * @return the sink it replaces (empty when that was standard output).
 */
LogSink ReplaceLogSink(LogSink sink);

/** Hands one progress line to the current sink. */
void LogLine(std::string_view line);

/** Installs a sink for its lifetime and puts the previous one back afterwards. */
class ScopedLogSink
{
public:
    explicit ScopedLogSink(LogSink sink)
        : m_previous(ReplaceLogSink(std::move(sink)))
    {
    }
    ~ScopedLogSink() { ReplaceLogSink(std::move(m_previous)); }
    ScopedLogSink(const ScopedLogSink&) = delete;
    ScopedLogSink& operator=(const ScopedLogSink&) = delete;

private:
    LogSink m_previous;
};

} // namespace halvox
