#include "tooltip/BackgroundEffect.h"

#include "TooltipTestSupport.h"

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

constexpr Colorref kTop = 0xFFFFFF;
constexpr Colorref kMiddle = 0x808080;
constexpr Colorref kBottom = 0x000000;

class VerticalShade : public testing::Test
{
protected:
    VerticalShade()
    {
        colours_.Set(18, kTop);
        colours_.Set(19, kMiddle);
        colours_.Set(20, kBottom);
    }

    Rgb Row(int row, int height, int granularity = 1) const
    {
        return BackgroundRowColour(kEffectVerticalShade, granularity, colours_, row, height);
    }

    ColourTable colours_ {kTestSystemColours};
};

TEST_F(VerticalShade, RunsFromEntry18ThroughEntry19ToEntry20)
{
    // Nine rows in bands of one: the fifth row is the half-way point.
    EXPECT_EQ(Row(0, 9), ToRgb(kTop));
    EXPECT_EQ(Row(4, 9), ToRgb(kMiddle));
    EXPECT_EQ(Row(8, 9), ToRgb(kBottom));
    // Thirty rows in bands of two: the last band, not only the last row, is the bottom colour.
    EXPECT_EQ(Row(0, 30, 2), ToRgb(kTop));
    EXPECT_EQ(Row(28, 30, 2), ToRgb(kBottom));
    EXPECT_EQ(Row(29, 30, 2), ToRgb(kBottom));
}

TEST_F(VerticalShade, DarkensStepByStepFromWhiteToBlack)
{
    int previous = 256;
    for (int row = 0; row < 40; ++row) {
        const int red = Row(row, 40).red;
        EXPECT_LT(red, previous) << "row " << row;
        previous = red;
    }
}

TEST_F(VerticalShade, GranularityGivesBandsOfThatManyRows)
{
    EXPECT_EQ(Row(0, 40, 2), Row(1, 40, 2));
    EXPECT_NE(Row(1, 40, 2), Row(2, 40, 2));
    EXPECT_EQ(Row(3, 40, 4), Row(0, 40, 4));
    EXPECT_NE(Row(4, 40, 4), Row(3, 40, 4));
    // No granularity or a negative one changes colour on every row.
    EXPECT_NE(Row(0, 40, 0), Row(1, 40, 0));
    EXPECT_NE(Row(0, 40, -3), Row(1, 40, -3));
}

TEST_F(VerticalShade, OtherEffectsFillWithEntry18)
{
    for (const int effect : {kEffectNone, 12, 14, -1}) {
        EXPECT_EQ(BackgroundRowColour(effect, 2, colours_, 0, 30), ToRgb(kTop)) << "effect " << effect;
        EXPECT_EQ(BackgroundRowColour(effect, 2, colours_, 29, 30), ToRgb(kTop)) << "effect " << effect;
    }
}

} // namespace
} // namespace deskwarden::test
