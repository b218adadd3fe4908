#include "tooltip/MarkupLayout.h"

#include "TooltipTestSupport.h"

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

class MarkupLayoutTest : public testing::Test
{
protected:
    TipLayout LayOut(std::string_view markup) const { return LayOutMarkup(Parse(markup), metrics_); }

    // Where the run with this text starts.
    static std::pair<int, int> PlaceOf(const TipLayout& layout, const std::string& text)
    {
        for (const PlacedText& placed : layout.texts) {
            if (placed.text == text) {
                return {placed.x, placed.y};
            }
        }
        ADD_FAILURE() << "no run \"" << text << "\"";
        return {-1, -1};
    }

    FixedWidthMetrics metrics_;
};

TEST_F(MarkupLayoutTest, BoldRunIsMeasuredInItsOwnStyle)
{
    const TipLayout layout = LayOut("<b>A</b>B");
    ASSERT_EQ(layout.texts.size(), 2U);
    EXPECT_EQ(layout.texts[0].width, 12);
    EXPECT_EQ(layout.texts[0].style.weight, 800);
    EXPECT_EQ(PlaceOf(layout, "B"), std::pair(12, 0));
    EXPECT_EQ(layout.width, 22);
    EXPECT_EQ(layout.height, 18);
}

TEST_F(MarkupLayoutTest, SizeIsTheWidestLineAndTheSumOfLineHeights)
{
    const TipLayout layout = LayOut("<b>A</b><br>0123456789<br>B");
    EXPECT_EQ(layout.width, 100);
    EXPECT_EQ(layout.height, 18 + 16 + 16);
    EXPECT_EQ(PlaceOf(layout, "B"), std::pair(0, 34));
}

TEST_F(MarkupLayoutTest, EmptyAndTrailingLines)
{
    EXPECT_EQ(LayOut("").height, 0);
    EXPECT_EQ(LayOut("a<br>").height, 16);
    const TipLayout layout = LayOut("a<br=3>b");
    EXPECT_EQ(PlaceOf(layout, "b"), std::pair(0, 48));
    EXPECT_EQ(layout.height, 64);
    EXPECT_EQ(PlaceOf(LayOut("a<br=0>b"), "b"), std::pair(10, 0));
    EXPECT_EQ(PlaceOf(LayOut("a\n\nb"), "b"), std::pair(0, 32));
}

TEST_F(MarkupLayoutTest, EmptyLineTakesTheHeightOfTheStyleInForce)
{
    EXPECT_EQ(PlaceOf(LayOut("<b>A<br><br>B"), "B"), std::pair(0, 36));
    EXPECT_EQ(PlaceOf(LayOut("<b>A</b><br><br>B"), "B"), std::pair(0, 34));
}

TEST_F(MarkupLayoutTest, TabStopsEveryFourAverageCharactersFromTheLeftMargin)
{
    EXPECT_EQ(PlaceOf(LayOut("a<t>b"), "b"), std::pair(40, 0));
    EXPECT_EQ(PlaceOf(LayOut("a<t=2>b"), "b"), std::pair(80, 0));
    EXPECT_EQ(PlaceOf(LayOut("abcd\tb"), "b"), std::pair(80, 0));
    EXPECT_EQ(PlaceOf(LayOut("abcde<t>b"), "b"), std::pair(80, 0));
    EXPECT_EQ(LayOut("abcde<t=0>").width, 50);
    EXPECT_EQ(LayOut("a<t>").width, 40);
}

TEST_F(MarkupLayoutTest, CentreStartTagCentresTheRestOfItsLineWithoutEndTag)
{
    const TipLayout layout = LayOut("0123456789<br><al_c>ab<br>cd");
    EXPECT_EQ(PlaceOf(layout, "ab"), std::pair(40, 16));
    EXPECT_EQ(PlaceOf(layout, "cd"), std::pair(0, 32)) << "the next line starts left again";
}

TEST_F(MarkupLayoutTest, AlignmentMovesOnlyTheTextAfterIt)
{
    EXPECT_EQ(PlaceOf(LayOut("0123456789<br>ab<al_c>cd"), "cd"), std::pair(40, 16));
    EXPECT_EQ(PlaceOf(LayOut("0123456789<br>ab<al_r>cd"), "cd"), std::pair(80, 16));
    EXPECT_EQ(PlaceOf(LayOut("0123456789<br>ab<al_r>cd</al_r>ef"), "cd"), std::pair(60, 16));
    EXPECT_EQ(PlaceOf(LayOut("0123456789<br><al_r>ab<al_l>cd"), "cd"), std::pair(80, 16));
    EXPECT_EQ(PlaceOf(LayOut("0123456789<br>abcdefgh<al_c>xy"), "xy"), std::pair(80, 16))
        << "centring never moves text over what stands before it";
}

TEST_F(MarkupLayoutTest, RuleOverItsShareOfTheTextWidthInTheMiddleOfItsLine)
{
    const TipLayout layout = LayOut("0123456789<br><ct=0x00AA00><hr=50%>");
    ASSERT_EQ(layout.rules.size(), 1U);
    EXPECT_EQ(layout.rules[0].x, 0);
    EXPECT_EQ(layout.rules[0].width, 50);
    EXPECT_EQ(layout.rules[0].y, 16 + 8);
    EXPECT_EQ(layout.rules[0].colour, 0x00AA00U);
    EXPECT_EQ(layout.height, 32) << "a line holding only a rule is a line";
}

TEST_F(MarkupLayoutTest, RuleStopsAtTheRightEdge)
{
    const TipLayout afterText = LayOut("0123456789<br>01234<hr>");
    ASSERT_EQ(afterText.rules.size(), 1U);
    EXPECT_EQ(afterText.rules[0].x, 50);
    EXPECT_EQ(afterText.rules[0].width, 50);
    EXPECT_TRUE(LayOut("0123456789<hr>").rules.empty()) << "the line is full: no room is left";
    const TipLayout huge = LayOut("0123456789<br><hr=0xFFFFFFFF>");
    ASSERT_EQ(huge.rules.size(), 1U);
    EXPECT_EQ(huge.rules[0].width, 100);
}

TEST_F(MarkupLayoutTest, EveryRunLiesInsideTheMeasuredRectangle)
{
    const TipLayout layout = LayOut("<al_r><b>Title</b><br>x\ty<t=3>z<br><al_c><i>centre</i><hr=70%><br=2>end");
    for (const PlacedText& placed : layout.texts) {
        EXPECT_GE(placed.x, 0);
        EXPECT_LE(placed.x + placed.width, layout.width) << placed.text;
        EXPECT_LE(placed.y + placed.height, layout.height) << placed.text;
    }
}

} // namespace
} // namespace deskwarden::test
