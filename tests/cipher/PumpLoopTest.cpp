#include "PumpLoop.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using cipherwell::ContinueFlag;
using cipherwell::LoopEnd;
using cipherwell::MessageTarget;
using cipherwell::PumpLoop;

struct Message
{
    unsigned int id;
    std::int64_t wParam;
    std::int64_t lParam;
};

class PumpLoopTest : public ::testing::Test
{
protected:
    static void Post(void* context, unsigned int id, std::int64_t wParam, std::int64_t lParam)
    {
        static_cast<PumpLoopTest*>(context)->m_messages.push_back({id, wParam, lParam});
    }
    static int Ask(void* context, const char* text, const char* caption)
    {
        auto* self = static_cast<PumpLoopTest*>(context);
        self->m_questions.push_back(std::string(text) + "|" + caption);
        return self->m_answerYes ? 1 : 0;
    }

    // Runs over pieces of the given sizes, with a clock that moves stepMs per reading.
    LoopEnd Run(std::vector<std::size_t> pieces, std::uint32_t intervalMs, std::uint64_t stepMs,
        const CipherWellTarget* target = nullptr, int* flag = nullptr)
    {
        m_target = {&PumpLoopTest::Post, this, &PumpLoopTest::Ask, this};
        std::uint64_t now = 1000;
        PumpLoop loop(MessageTarget(target != nullptr ? target : &m_target), ContinueFlag(flag ? flag : &m_flag),
            intervalMs, [&now, stepMs] { return now += stepMs; });
        std::size_t next = 0;
        return loop.Run(7, [&] {
            ++m_pumps;
            if (m_clearBeforePump.count(m_pumps) != 0) {
                m_flag = 0;
            }
            return next < pieces.size() ? pieces[next++] : 0;
        });
    }

    std::vector<std::int64_t> ProgressSteps() const
    {
        std::vector<std::int64_t> steps;
        for (const auto& message : m_messages) {
            if (message.id == kCipherWellProgressMessage) {
                steps.push_back(message.wParam);
            }
        }
        return steps;
    }

    CipherWellTarget m_target {};
    std::vector<Message> m_messages;
    std::vector<std::string> m_questions;
    std::set<int> m_clearBeforePump;
    bool m_answerYes = false;
    int m_flag = 1;
    int m_pumps = 0;
};

TEST_F(PumpLoopTest, EmptySourcePostsStartAndAZeroFinal)
{
    EXPECT_EQ(Run({}, 200, 1), LoopEnd::SourceDrained);

    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[0].id, 0x8000u + 20);
    EXPECT_EQ(m_messages[0].wParam, 7);
    EXPECT_EQ(m_messages[0].lParam, 0);
    EXPECT_EQ(m_messages[1].id, 0x8000u + 21);
    EXPECT_EQ(m_messages[1].wParam, 0);
    EXPECT_EQ(m_messages[1].lParam, 0);
}

TEST_F(PumpLoopTest, ProgressWaitsForMoreThanTheInterval)
{
    // 50 ms per reading against 200 ms: the fifth reading is the first past the interval (250 > 200).
    const std::vector<std::size_t> pieces(12, 1024);
    ASSERT_EQ(Run(pieces, 200, 50), LoopEnd::SourceDrained);

    EXPECT_EQ(ProgressSteps(), (std::vector<std::int64_t> {5 * 1024, 5 * 1024, 2 * 1024}));
    EXPECT_EQ(m_messages.back().lParam, 12 * 1024);
    EXPECT_EQ(m_messages[1].lParam, 5 * 1024);
}

TEST_F(PumpLoopTest, ExactlyTheIntervalIsNotYetEnough)
{
    const std::vector<std::size_t> pieces(4, 100);
    ASSERT_EQ(Run(pieces, 100, 100), LoopEnd::SourceDrained);
    // A reading exactly one interval after the last message stays quiet; the next one reports both pieces.
    EXPECT_EQ(ProgressSteps(), (std::vector<std::int64_t> {200, 200, 0}));
}

TEST_F(PumpLoopTest, UnevenPiecesAddUp)
{
    ASSERT_EQ(Run({1024, 1024, 17}, 0, 1), LoopEnd::SourceDrained);
    EXPECT_EQ(ProgressSteps(), (std::vector<std::int64_t> {1024, 1024, 17, 0}));
    EXPECT_EQ(m_messages.back().lParam, 2065);
}

TEST_F(PumpLoopTest, YesStopsWithoutFurtherPumpsOrFinalMessage)
{
    m_answerYes = true;
    m_clearBeforePump = {3};
    const std::vector<std::size_t> pieces(10, 1024);

    EXPECT_EQ(Run(pieces, 0, 1), LoopEnd::Cancelled);

    EXPECT_EQ(m_pumps, 3);
    ASSERT_EQ(m_questions.size(), 1u);
    EXPECT_EQ(m_questions[0], "作業を中止しますか?|Marlow Desk Warden");
    // Start and the two pumps before the question; the cancelled piece is not counted.
    EXPECT_EQ(ProgressSteps(), (std::vector<std::int64_t> {1024, 1024}));
    EXPECT_EQ(m_flag, 0);
}

TEST_F(PumpLoopTest, NoRestoresTheFlagAndEachNewRequestIsAskedAgain)
{
    m_clearBeforePump = {2, 6};
    const std::vector<std::size_t> pieces(8, 10);

    EXPECT_EQ(Run(pieces, 0, 1), LoopEnd::SourceDrained);

    EXPECT_EQ(m_questions.size(), 2u);
    EXPECT_EQ(m_flag, 1);
    EXPECT_EQ(m_messages.back().lParam, 80);
}

TEST_F(PumpLoopTest, ClearedFlagWithoutAskFunctionStops)
{
    CipherWellTarget postOnly {&PumpLoopTest::Post, this, nullptr, nullptr};
    m_clearBeforePump = {2};
    EXPECT_EQ(Run({5, 5, 5}, 0, 1, &postOnly), LoopEnd::Cancelled);
    EXPECT_TRUE(m_questions.empty());
}

TEST_F(PumpLoopTest, NullTargetHearsNothingAndStillStopsOnRequest)
{
    CipherWellTarget silent {};
    m_clearBeforePump = {2};
    EXPECT_EQ(Run({5, 5, 5}, 0, 1, &silent), LoopEnd::Cancelled);
    EXPECT_TRUE(m_messages.empty());

    PumpLoop loop(MessageTarget(nullptr), ContinueFlag(&m_flag), 0, [] { return std::uint64_t(0); });
    m_flag = 0;
    int pumps = 0;
    EXPECT_EQ(loop.Run(1, [&pumps] { return ++pumps < 3 ? std::size_t(1) : std::size_t(0); }), LoopEnd::Cancelled);
}

TEST_F(PumpLoopTest, WithoutAFlagNothingCanBeCancelled)
{
    PumpLoop loop(MessageTarget(nullptr), ContinueFlag(nullptr), 0, [] { return std::uint64_t(0); });
    int pumps = 0;
    EXPECT_EQ(loop.Run(1, [&pumps] { return ++pumps < 5 ? std::size_t(1) : std::size_t(0); }), LoopEnd::SourceDrained);
    EXPECT_EQ(pumps, 5);
    EXPECT_EQ(ContinueFlag(nullptr).Value(), 1);
}

} // namespace
