#include "EngineLog.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace halvox {

namespace {

std::mutex& SinkMutex()
{
    static std::mutex mutex;
    return mutex;
}

LogSink& CurrentSink()
{
    static LogSink sink;
    return sink;
}

// Flushed line by line: a caller that watches a long model update sees each pass as it ends, and the
// lines keep their place among what the caller itself prints to the same stream.
void WriteToStandardOutput(std::string_view line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

LogSink ReplaceLogSink(LogSink sink)
{
    const std::lock_guard<std::mutex> lock(SinkMutex());
    return std::exchange(CurrentSink(), std::move(sink));
}

void LogLine(std::string_view line)
{
    // Held while the sink runs, so that lines from several threads never interleave.
    const std::lock_guard<std::mutex> lock(SinkMutex());
    const LogSink& sink = CurrentSink();
    if (sink)
        sink(line);
    else
        WriteToStandardOutput(line);
}

} // namespace halvox
