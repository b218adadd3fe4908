#include "skin/SliderState.h"

#include <gtest/gtest.h>

namespace {

class SliderStateTest : public testing::Test
{
protected:
    SliderState m_horizontal {{10, 10, 210, 20}, true};
    SliderState m_vertical {{0, 0, 10, 50}, false};
};

TEST_F(SliderStateTest, PositionIsOffsetTimesHundredOverLength)
{
    EXPECT_EQ(m_horizontal.PositionAt(0, 5), 0);
    EXPECT_EQ(m_horizontal.PositionAt(101, 5), 50);
    EXPECT_EQ(m_horizontal.PositionAt(199, 5), 99);
    EXPECT_EQ(m_vertical.PositionAt(5, 50), 0);
    EXPECT_EQ(m_vertical.PositionAt(5, 0), 100);
    EXPECT_EQ(m_vertical.PositionAt(5, 25), 50);
}

TEST_F(SliderStateTest, DragOutsideIsPinnedToTheEnds)
{
    m_horizontal.Press(20, 5);
    m_horizontal.Move(-40, 5);
    EXPECT_EQ(m_horizontal.Position(), 0);
    m_horizontal.Move(500, 5);
    EXPECT_EQ(m_horizontal.Position(), 100);
}

TEST_F(SliderStateTest, OnlyAReleaseInsideCounts)
{
    m_horizontal.Press(20, 5);
    EXPECT_TRUE(m_horizontal.Release(100, 5));
    m_horizontal.Press(20, 5);
    EXPECT_FALSE(m_horizontal.Release(100, 40));
    EXPECT_FALSE(m_horizontal.Release(100, 5)); // not dragging any more
}

TEST_F(SliderStateTest, ProgramPositionIsCappedAndDroppedWhileDragging)
{
    EXPECT_TRUE(m_horizontal.SetPosition(150));
    EXPECT_EQ(m_horizontal.Position(), 100);
    EXPECT_FALSE(m_horizontal.SetPosition(100));
    m_horizontal.Press(50, 5); // 25
    EXPECT_FALSE(m_horizontal.SetPosition(80));
    EXPECT_EQ(m_horizontal.Position(), 25);
    m_horizontal.Release(50, 5);
    EXPECT_TRUE(m_horizontal.SetPosition(-5));
    EXPECT_EQ(m_horizontal.Position(), 0);
}

TEST_F(SliderStateTest, FilledPartRunsUpToThePosition)
{
    m_horizontal.SetPosition(30);
    EXPECT_EQ(m_horizontal.FilledPart(), (SkinRect {0, 0, 60, 10}));
    m_vertical.SetPosition(40);
    EXPECT_EQ(m_vertical.FilledPart(), (SkinRect {0, 30, 10, 50}));
}

} // namespace
