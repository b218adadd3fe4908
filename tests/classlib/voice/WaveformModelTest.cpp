#include "voice/WaveformModel.h"

#include <gtest/gtest.h>

namespace {

class WaveformModelTest : public testing::Test
{
protected:
    // 330 pixels for 33075 samples: a sample index maps to left + i * 330 / 33075.
    WaveformModel m_model {{10, 20, 340, 120}, 66150, 22050, 100};
};

TEST_F(WaveformModelTest, TickSlicesTileTheReadingWithoutGaps)
{
    EXPECT_EQ(m_model.TickSlice(1), (SampleRange {0, 1102}));
    EXPECT_EQ(m_model.TickSlice(2), (SampleRange {1102, 2205}));
    EXPECT_EQ(m_model.TickSlice(30), (SampleRange {31972, 33075}));
    long covered = 0;
    for (int tick = 1; tick <= 30; ++tick) {
        SampleRange slice = m_model.TickSlice(tick);
        EXPECT_EQ(slice.first, covered) << "tick " << tick;
        covered = slice.last;
    }
    EXPECT_EQ(covered, 33075);
    EXPECT_EQ(m_model.TickSlice(31), (SampleRange {33075, 33075}));
}

TEST_F(WaveformModelTest, SamplesMapIntoTheRectangleAndAreClamped)
{
    EXPECT_EQ(m_model.X(0), 10);
    EXPECT_EQ(m_model.X(33075), 340);
    EXPECT_EQ(m_model.X(16537), 10 + 16537 * 330 / 33075);
    EXPECT_EQ(m_model.Y(0), 70);
    EXPECT_EQ(m_model.Y(16384), 120);
    EXPECT_EQ(m_model.Y(-32768), 20);
    EXPECT_EQ(m_model.Y(32767), 120); // 70 + 99 lies below the rectangle: clamped
    WaveformModel tall({0, 0, 10, 10}, 200, 22050, 100);
    EXPECT_EQ(tall.Y(32767), 10);
}

TEST_F(WaveformModelTest, SlicePointsFollowTheSamples)
{
    auto ramp = [](long i) { return static_cast<int16_t>(i % 2 == 0 ? 3277 : -3277); };
    std::vector<SkinPoint> points = m_model.TickSlicePoints(2, ramp);
    ASSERT_EQ(points.size(), 1103u);
    EXPECT_EQ(points.front(), (SkinPoint {m_model.X(1102), 80}));
    EXPECT_EQ(points[1].y, 60);
    EXPECT_EQ(m_model.WholePoints(ramp).size(), 33075u);
}

TEST_F(WaveformModelTest, EndpointMarksSpanTheMiddleThreeQuarters)
{
    std::vector<SkinLine> marks = m_model.EndpointMarks(8000, 24000);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0], (SkinLine {{m_model.X(8000), 32}, {m_model.X(8000), 108}}));
    EXPECT_EQ(marks[1].from.x, m_model.X(24000));
}

TEST_F(WaveformModelTest, ResultMarkIsASquareInsideTheShorterSide)
{
    ResultMarkShape ok = m_model.ResultMark(true);
    EXPECT_TRUE(ok.circle);
    EXPECT_EQ(ok.box, (SkinRect {128, 23, 222, 117}));
    ResultMarkShape bad = m_model.ResultMark(false);
    EXPECT_FALSE(bad.circle);
    EXPECT_EQ(bad.diagonals[0], (SkinLine {{128, 23}, {222, 117}}));
    EXPECT_EQ(bad.diagonals[1], (SkinLine {{222, 23}, {128, 117}}));
}

TEST(WaveformModelEmptyTest, NoBufferDrawsNothing)
{
    WaveformModel model({0, 0, 100, 100}, 0, 22050, 100);
    EXPECT_TRUE(model.WholePoints([](long) { return int16_t {1}; }).empty());
    EXPECT_TRUE(model.TickSlicePoints(1, [](long) { return int16_t {1}; }).empty());
}

} // namespace
