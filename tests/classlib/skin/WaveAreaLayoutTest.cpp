#include "skin/WaveAreaLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(WaveAreaLayoutTest, GridSitsAtQuartersAndFifths)
{
    std::vector<SkinLine> lines = talk::wave_area_layout::GridLines({10, 20, 113, 121}); // 103 x 101
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], (SkinLine {{10, 45}, {113, 45}})); // 20 + int(101 * 0.25)
    EXPECT_EQ(lines[1], (SkinLine {{10, 70}, {113, 70}})); // 20 + int(50.5)
    EXPECT_EQ(lines[2], (SkinLine {{10, 95}, {113, 95}})); // 20 + int(75.75)
    EXPECT_EQ(lines[3], (SkinLine {{30, 20}, {30, 121}})); // 10 + int(20.6)
    EXPECT_EQ(lines[4], (SkinLine {{92, 20}, {92, 121}})); // 10 + int(82.4)
}

TEST(WaveAreaLayoutTest, DashesOfTwoEveryFourFromTheEdge)
{
    std::vector<SkinLine> dashes = talk::wave_area_layout::Dashes({{0, 5}, {9, 5}});
    std::vector<SkinLine> expected = {{{0, 5}, {1, 5}}, {{4, 5}, {5, 5}}, {{8, 5}, {8, 5}}};
    EXPECT_EQ(dashes, expected);
    std::vector<SkinLine> vertical = talk::wave_area_layout::Dashes({{3, 10}, {3, 16}});
    ASSERT_EQ(vertical.size(), 2u);
    EXPECT_EQ(vertical[1], (SkinLine {{3, 14}, {3, 15}}));
}

TEST(WaveAreaLayoutTest, EmptyRectangleHasNoGrid)
{
    EXPECT_TRUE(talk::wave_area_layout::GridLines({}).empty());
}

} // namespace
