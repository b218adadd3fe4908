// The PAM module's side of the helper process, with shell scripts in the helper's place: prompts relayed as
// they come, nothing inherited, a crash and an overrun told apart from an answer.
#include "HelperRun.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <vector>

namespace {

using namespace wardengate::pam;
using namespace std::chrono_literals;

HelperRun Script(const std::string& body, std::chrono::milliseconds timeout, std::vector<std::string>* infos = nullptr,
    std::vector<std::string> environment = {"PATH=/usr/bin:/bin"})
{
    return RunHelper("/bin/sh", {"-c", body}, environment, timeout, [&](const std::string& text) {
        if (infos)
            infos->push_back(text);
    });
}

TEST(HelperRun, RelaysPromptsAndKeepsTheLastResultLine)
{
    std::vector<std::string> infos;
    const HelperRun run = Script(
        "echo 'info first'; echo noise; echo reading-ended; echo 'info second'; echo 'result deny 1/2 no'; exit 1", 5s,
        &infos);
    EXPECT_TRUE(run.exitedNormally);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(infos, (std::vector<std::string> {"first", "second"}));
    EXPECT_EQ(run.resultLine, "result deny 1/2 no");
    EXPECT_NE(run.lastReadingEnd, std::chrono::steady_clock::time_point {});
}

TEST(HelperRun, GivesTheHelperOnlyTheEnvironmentItWasGiven)
{
    ::setenv("WARDENGATE_LEAK_CHECK", "leaked", 1);
    const HelperRun run = Script(
        "echo \"result x ${WARDENGATE_LEAK_CHECK:-clean} $ONLY\"", 5s, nullptr, {"PATH=/usr/bin:/bin", "ONLY=given"});
    ::unsetenv("WARDENGATE_LEAK_CHECK");
    EXPECT_EQ(run.resultLine, "result x clean given");
}

TEST(HelperRun, ACrashIsASignalNotAnExit)
{
    const HelperRun run = Script("echo 'result accept 0/1 x'; kill -SEGV $$", 5s);
    EXPECT_FALSE(run.exitedNormally);
    EXPECT_EQ(run.signal, SIGSEGV);
}

TEST(HelperRun, AHelperPastItsTimeIsKilled)
{
    const auto start = std::chrono::steady_clock::now();
    const HelperRun run = Script("echo 'info waiting'; exec sleep 30", 300ms);
    EXPECT_TRUE(run.timedOut);
    EXPECT_FALSE(run.exitedNormally);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

TEST(HelperRun, AHelperThatClosesItsOutputButLingersIsKilledAtTheDeadline)
{
    const HelperRun run = Script("exec >/dev/null; sleep 30", 300ms);
    EXPECT_TRUE(run.timedOut);
}

TEST(HelperRun, AMissingProgramIsNotStarted)
{
    const HelperRun run = RunHelper("/nonexistent/helper", {}, {}, 1s, [](const std::string&) {});
    EXPECT_FALSE(run.started);
    EXPECT_FALSE(run.startError.empty());
}

} // namespace
