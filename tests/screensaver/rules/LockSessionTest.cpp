#include "rules/LockSession.h"

#include <gtest/gtest.h>

namespace screenveil {
namespace {

TEST(LockSession, PointerMovesStartNothingButClicksAndKeysStartOneCheck)
{
    LockSession session;
    EXPECT_EQ(session.OnInput(LockInput::PointerMove), LockReaction::Nothing);
    EXPECT_EQ(session.OnInput(LockInput::Other), LockReaction::Nothing);
    EXPECT_FALSE(session.AttemptRunning());
    EXPECT_EQ(session.OnInput(LockInput::LeftButton), LockReaction::StartAttempt);
    EXPECT_TRUE(session.AttemptRunning());
    // While the check runs, nothing starts a second one.
    EXPECT_EQ(session.OnInput(LockInput::OtherKey), LockReaction::Nothing);
    EXPECT_EQ(session.OnInput(LockInput::MiddleButton), LockReaction::Nothing);
    EXPECT_EQ(session.OnInput(LockInput::LeftButton), LockReaction::Nothing);
}

TEST(LockSession, ARefusedCheckKeepsTheLockAndTheNextInputTriesAgain)
{
    LockSession session;
    ASSERT_EQ(session.OnInput(LockInput::OtherKey), LockReaction::StartAttempt);
    session.AttemptEnded(false);
    EXPECT_FALSE(session.Unlocked());
    EXPECT_FALSE(session.AttemptRunning());
    EXPECT_EQ(session.OnInput(LockInput::MiddleButton), LockReaction::StartAttempt);
}

TEST(LockSession, OnlyAnAcceptedRunningCheckUnlocks)
{
    LockSession session;
    session.AttemptEnded(true); // no check was running: a stray verdict opens nothing
    EXPECT_FALSE(session.Unlocked());
    ASSERT_EQ(session.OnInput(LockInput::LeftButton), LockReaction::StartAttempt);
    session.AttemptEnded(true);
    EXPECT_TRUE(session.Unlocked());
    EXPECT_EQ(session.OnInput(LockInput::LeftButton), LockReaction::Nothing);
    EXPECT_EQ(session.OnInput(LockInput::KeyF3), LockReaction::Nothing);
}

TEST(LockSession, FunctionKeysSetTheVoiceStateAndOpenTheMemo)
{
    LockSession session;
    EXPECT_EQ(session.OnInput(LockInput::KeyF1), LockReaction::Nothing);
    EXPECT_EQ(session.VoiceIdle(), 0);
    EXPECT_EQ(session.OnInput(LockInput::KeyF2), LockReaction::Nothing);
    EXPECT_EQ(session.VoiceIdle(), 1);
    EXPECT_EQ(session.OnInput(LockInput::KeyF3), LockReaction::OpenMemo);
    EXPECT_EQ(session.OnInput(LockInput::RightButton), LockReaction::OpenMemo);
    EXPECT_FALSE(session.AttemptRunning());
}

} // namespace
} // namespace screenveil
