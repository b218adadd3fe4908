// The engine's one log sink: standard output by default, byte for byte as the library always wrote its
// progress lines; any sink a tool installs instead, whole lines only, from any thread.
#include "EngineLog.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace halvox {
namespace {

TEST(EngineLog, WithoutASinkEachLineGoesToStandardOutputWithItsLineEnd)
{
    ::testing::internal::CaptureStdout();
    LogLine("1\tReturn value of reestimate() : 0.250000");
    LogLine("");
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "1\tReturn value of reestimate() : 0.250000\n\n");
}

TEST(EngineLog, AnInstalledSinkTakesTheLinesInsteadOfStandardOutput)
{
    std::vector<std::string> lines;
    ::testing::internal::CaptureStdout();
    {
        const ScopedLogSink sink([&lines](std::string_view line) { lines.emplace_back(line); });
        LogLine("first");
        LogLine("second");
    }
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(lines, (std::vector<std::string> {"first", "second"}));
}

TEST(EngineLog, ScopedSinksNestAndPutBackWhatWasThere)
{
    std::vector<std::string> outer, inner;
    ::testing::internal::CaptureStdout();
    {
        const ScopedLogSink outerSink([&outer](std::string_view line) { outer.emplace_back(line); });
        {
            const ScopedLogSink innerSink([&inner](std::string_view line) { inner.emplace_back(line); });
            LogLine("to the inner sink");
        }
        LogLine("to the outer sink");
    }
    LogLine("to standard output");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "to standard output\n");
    EXPECT_EQ(inner, std::vector<std::string> {"to the inner sink"});
    EXPECT_EQ(outer, std::vector<std::string> {"to the outer sink"});
}

TEST(EngineLog, ReplacingWithAnEmptySinkRestoresStandardOutput)
{
    const LogSink previous = ReplaceLogSink([](std::string_view) {});
    EXPECT_FALSE(previous); // nothing installed before this test
    EXPECT_TRUE(ReplaceLogSink(LogSink {}));
    ::testing::internal::CaptureStdout();
    LogLine("back");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "back\n");
}

// Evaluation runs one engine per thread against one sink: the sink is never entered twice at once, so a
// sink without a lock of its own keeps every line.
TEST(EngineLog, LinesFromSeveralThreadsReachTheSinkOneAtATime)
{
    constexpr int kThreads = 4;
    constexpr int kLinesEach = 2000;
    std::vector<std::string> lines;
    int inside = 0;
    bool overlapped = false;
    const ScopedLogSink sink([&](std::string_view line) {
        overlapped = overlapped || ++inside > 1;
        lines.emplace_back(line);
        --inside;
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            const std::string line = "thread " + std::to_string(t);
            for (int i = 0; i < kLinesEach; ++i)
                LogLine(line);
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_FALSE(overlapped);
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLinesEach));
    for (const std::string& line : lines)
        ASSERT_EQ(line.rfind("thread ", 0), 0u) << line;
}

} // namespace
} // namespace halvox
