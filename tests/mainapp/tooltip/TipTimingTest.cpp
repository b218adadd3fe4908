#include "tooltip/TipTiming.h"

#include <gtest/gtest.h>

namespace deskwarden::tooltip {
namespace {

using Actions = std::vector<TipAction>;
using Kind = TipAction::Kind;

TipAction StartInitial(int delayMs = kDefaultInitialDelayMs)
{
    return TipAction {Kind::StartTimer, TipTimer::Initial, delayMs, {}};
}

TipAction StartAutoHide(int delayMs = kDefaultAutoHideDelayMs)
{
    return TipAction {Kind::StartTimer, TipTimer::AutoHide, delayMs, {}};
}

TipAction ShowAt(int x, int y)
{
    return TipAction {Kind::Show, TipTimer::Initial, 0, {x, y}};
}

const TipAction kHide {Kind::Hide, TipTimer::Initial, 0, {}};
const TipAction kStop {Kind::StopTimer, TipTimer::Initial, 0, {}};

class TipTimingTest : public testing::Test
{
protected:
    // The tip of tool 1 shown at (5, 5).
    void ShowTip()
    {
        timing_.CursorEntered(1, {5, 5});
        ASSERT_EQ(timing_.TimerFired(TipTimer::Initial), (Actions {ShowAt(5, 5), StartAutoHide()}));
    }

    TipTiming timing_;
};

TEST_F(TipTimingTest, RestingCursorShowsTheTipThenItHidesItself)
{
    EXPECT_EQ(timing_.CursorEntered(1, {5, 5}), Actions {StartInitial()});
    EXPECT_EQ(timing_.TimerFired(TipTimer::Initial), (Actions {ShowAt(5, 5), StartAutoHide()}));
    EXPECT_TRUE(timing_.Shown());
    EXPECT_EQ(timing_.TimerFired(TipTimer::AutoHide), Actions {kHide});
    EXPECT_FALSE(timing_.Shown());
}

TEST_F(TipTimingTest, CursorMovingBeforeTheDelayEndsShowsNothingUntilItRestsAgain)
{
    timing_.CursorEntered(1, {5, 5});
    EXPECT_EQ(timing_.CursorMoved(1, {6, 5}), Actions {});
    EXPECT_EQ(timing_.TimerFired(TipTimer::Initial), Actions {StartInitial()});
    EXPECT_EQ(timing_.CursorMoved(1, {7, 9}), Actions {});
    EXPECT_EQ(timing_.TimerFired(TipTimer::Initial), Actions {StartInitial()});
    EXPECT_FALSE(timing_.Shown());
    EXPECT_EQ(timing_.TimerFired(TipTimer::Initial), (Actions {ShowAt(7, 9), StartAutoHide()}));
}

TEST_F(TipTimingTest, MovingOntoAnotherToolHidesTheTipAndStartsOver)
{
    ShowTip();
    EXPECT_EQ(timing_.CursorMoved(2, {40, 5}), (Actions {kHide, StartInitial()}));
    EXPECT_EQ(timing_.TimerFired(TipTimer::AutoHide), Actions {}) << "the old tip's timer is stale";
    EXPECT_EQ(timing_.TimerFired(TipTimer::Initial), (Actions {ShowAt(40, 5), StartAutoHide()}));
}

TEST_F(TipTimingTest, KeyOrButtonHidesTheTipUntilACursorEntersAgain)
{
    ShowTip();
    EXPECT_EQ(timing_.InputPressed(), (Actions {kStop, kHide}));
    EXPECT_EQ(timing_.CursorMoved(1, {8, 8}), Actions {});
    EXPECT_EQ(timing_.TimerFired(TipTimer::Initial), Actions {});
    EXPECT_EQ(timing_.TimerFired(TipTimer::AutoHide), Actions {});
    EXPECT_EQ(timing_.CursorEntered(1, {8, 8}), Actions {StartInitial()});
}

TEST_F(TipTimingTest, KeyOrButtonBeforeTheDelayCancelsTheTip)
{
    timing_.CursorEntered(1, {5, 5});
    EXPECT_EQ(timing_.InputPressed(), Actions {kStop});
    EXPECT_EQ(timing_.TimerFired(TipTimer::Initial), Actions {});
    EXPECT_FALSE(timing_.Shown());
    EXPECT_EQ(timing_.InputPressed(), Actions {}) << "nothing left to cancel";
}

TEST_F(TipTimingTest, LeavingTheToolHidesTheTipAndStopsItsTimer)
{
    ShowTip();
    EXPECT_EQ(timing_.CursorLeft(), (Actions {kStop, kHide}));
    EXPECT_EQ(timing_.TimerFired(TipTimer::AutoHide), Actions {});
    timing_.CursorEntered(1, {5, 5});
    EXPECT_EQ(timing_.CursorLeft(), Actions {kStop});
    EXPECT_EQ(timing_.TimerFired(TipTimer::Initial), Actions {});
    EXPECT_EQ(timing_.CursorLeft(), Actions {});
}

TEST_F(TipTimingTest, AutoHiddenTipStaysHiddenWhileTheCursorMovesOnTheSameTool)
{
    ShowTip();
    timing_.TimerFired(TipTimer::AutoHide);
    EXPECT_EQ(timing_.CursorMoved(1, {6, 6}), Actions {});
    EXPECT_EQ(timing_.CursorMoved(2, {60, 6}), Actions {StartInitial()});
}

TEST(TipTiming, DelaysAreTheOnesGiven)
{
    TipTiming timing(100, 2000);
    EXPECT_EQ(timing.CursorEntered(3, {1, 2}), Actions {StartInitial(100)});
    EXPECT_EQ(timing.TimerFired(TipTimer::Initial), (Actions {ShowAt(1, 2), StartAutoHide(2000)}));
}

} // namespace
} // namespace deskwarden::tooltip
