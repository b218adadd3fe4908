#include "tooltip/MarkupParser.h"

#include "TooltipTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace deskwarden::test {
namespace {

TextStyle Bold()
{
    TextStyle style = DefaultStyle();
    style.weight = 800;
    return style;
}

TEST(MarkupParser, PlainTextIsOneRunInTheDefaultStyle)
{
    EXPECT_EQ(Parse("Encrypt files"), (std::vector<MarkupItem> {TextRun {"Encrypt files", DefaultStyle()}}));
}

TEST(MarkupParser, BoldEndsAtItsEndTag)
{
    EXPECT_EQ(Parse("<b>A</b>B"), (std::vector<MarkupItem> {TextRun {"A", Bold()}, TextRun {"B", DefaultStyle()}}));
}

TEST(MarkupParser, BoldDoublesTheNormalWeightUpToNineHundred)
{
    const ColourTable colours(kTestSystemColours);
    const auto heavy = ParseMarkup("<b>x", colours, 600);
    ASSERT_EQ(heavy.size(), 1U);
    EXPECT_EQ(std::get<TextRun>(heavy[0]).style.weight, 900);
    const auto back = ParseMarkup("<b></b>x", colours, 600);
    EXPECT_EQ(std::get<TextRun>(back[0]).style.weight, 600);
}

TEST(MarkupParser, ItalicUnderlineAndStrikeOutSwitchOnAndOffAlone)
{
    const auto items = Parse("<i>a<u>b<s>c</i>d</u>e</s>f");
    ASSERT_EQ(items.size(), 6U);
    const auto style = [&](std::size_t i) { return std::get<TextRun>(items[i]).style; };
    EXPECT_TRUE(style(2).italic && style(2).underline && style(2).strikeOut);
    EXPECT_FALSE(style(3).italic);
    EXPECT_TRUE(style(3).underline && style(3).strikeOut);
    EXPECT_FALSE(style(4).underline);
    EXPECT_EQ(style(5), DefaultStyle());
}

TEST(MarkupParser, TextColourValueIsKeptInItsByteOrderAndItsEndTagReturnsToEntry17)
{
    const auto items = Parse("<ct=0x0000FF>red</ct>plain");
    ASSERT_EQ(items.size(), 2U);
    EXPECT_EQ(std::get<TextRun>(items[0]).style.textColour, 0x0000FFU);
    EXPECT_EQ(ToRgb(std::get<TextRun>(items[0]).style.textColour), (Rgb {255, 0, 0}));
    EXPECT_EQ(std::get<TextRun>(items[1]).style.textColour, kTestSystemColours.tipText);
}

TEST(MarkupParser, EndOfTextColourTagUsesEntry17AsItStandsThen)
{
    ColourTable colours(kTestSystemColours);
    ASSERT_TRUE(colours.Set(17, 0x445566));
    const auto items = ParseMarkup("<ct=1>a</ct>b", colours);
    EXPECT_EQ(std::get<TextRun>(items[1]).style.textColour, 0x445566U);
}

TEST(MarkupParser, BackgroundIsOpaqueUntilItsEndTag)
{
    const auto items = Parse("<cb=0x00FF00>on</cb>off<cbi=3>idx</cbi>x");
    ASSERT_EQ(items.size(), 4U);
    const auto style = [&](std::size_t i) { return std::get<TextRun>(items[i]).style; };
    EXPECT_TRUE(style(0).opaqueBackground);
    EXPECT_EQ(style(0).backColour, 0x00FF00U);
    EXPECT_FALSE(style(1).opaqueBackground);
    EXPECT_EQ(style(1).backColour, kTestSystemColours.tipBackground);
    EXPECT_TRUE(style(2).opaqueBackground);
    EXPECT_EQ(style(2).backColour, 0x808000U);
    EXPECT_FALSE(style(3).opaqueBackground);
}

struct IndexCase
{
    const char* markup;
    Colorref textColour;
    Colorref backColour;
    bool opaque;
};

class ColourIndexTags : public testing::TestWithParam<IndexCase>
{
};

TEST_P(ColourIndexTags, PickTableEntriesBelow26AndIgnoreTheRest)
{
    const auto items = Parse(GetParam().markup);
    ASSERT_EQ(items.size(), 1U);
    const TextStyle style = std::get<TextRun>(items[0]).style;
    EXPECT_EQ(style.textColour, GetParam().textColour);
    EXPECT_EQ(style.backColour, GetParam().backColour);
    EXPECT_EQ(style.opaqueBackground, GetParam().opaque);
}

INSTANTIATE_TEST_SUITE_P(MarkupParser, ColourIndexTags,
    testing::Values(IndexCase {"<cti=11>x", 0x0000FF, 0x202020, false},
        IndexCase {"<cti=25>x", 0x101010, 0x202020, false}, IndexCase {"<cti=24>x", 0x303030, 0x202020, false},
        IndexCase {"<cti=26>x", 0x101010, 0x202020, false}, IndexCase {"<cti=4><cti=26>x", 0x000080, 0x202020, false},
        IndexCase {"<cti=4><cti>x", 0x101010, 0x202020, false}, IndexCase {"<cbi=25>x", 0x101010, 0x101010, true},
        IndexCase {"<cbi=26>x", 0x101010, 0x202020, false}, IndexCase {"<cbi>x", 0x101010, 0x202020, true},
        IndexCase {"<cbi=0xFFFFFFFF>x", 0x101010, 0x202020, false}));

TEST(MarkupParser, TwoOpeningBracketsAreOneLiteralBracket)
{
    EXPECT_EQ(Parse("a<<b<<<b>c"), (std::vector<MarkupItem> {TextRun {"a<b<", DefaultStyle()}, TextRun {"c", Bold()}}));
}

TEST(MarkupParser, TagNamesIgnoreCase)
{
    EXPECT_EQ(Parse("<B>A</b><BR=2><Al_C>"),
        (std::vector<MarkupItem> {TextRun {"A", Bold()}, Breaks(2), AlignLine {Alignment::Centre}}));
}

TEST(MarkupParser, UnknownTagsAreSkippedWithTheirValues)
{
    EXPECT_EQ(Parse("a<blink=3>b</font x=1>c<>d</>e"), (std::vector<MarkupItem> {TextRun {"abcde", DefaultStyle()}}));
}

TEST(MarkupParser, TagWithoutClosingBracketDropsTheRestOfTheText)
{
    EXPECT_EQ(Parse("shown<b>bold<ct=0x0000FF"),
        (std::vector<MarkupItem> {TextRun {"shown", DefaultStyle()}, TextRun {"bold", Bold()}}));
    EXPECT_EQ(Parse("end<"), (std::vector<MarkupItem> {TextRun {"end", DefaultStyle()}}));
    EXPECT_EQ(Parse("<"), std::vector<MarkupItem> {});
    EXPECT_EQ(Parse("x</"), (std::vector<MarkupItem> {TextRun {"x", DefaultStyle()}}));
}

TEST(MarkupParser, BreakAndTabCountsDefaultToOneAndAreCapped)
{
    EXPECT_EQ(Parse("<br><br=3><br=0><t><t=2></t=5><br=0xFFFFFFFF>"),
        (std::vector<MarkupItem> {
            Breaks(1), Breaks(3), Breaks(0), TabStops {1}, TabStops {2}, TabStops {5}, Breaks(kMostRepeats)}));
}

TEST(MarkupParser, TabNewLineAndCarriageReturnCharacters)
{
    EXPECT_EQ(Parse("a\tb\r\nc"),
        (std::vector<MarkupItem> {TextRun {"a", DefaultStyle()}, TabStops {1}, TextRun {"b", DefaultStyle()}, Breaks(1),
            TextRun {"c", DefaultStyle()}}));
}

TEST(MarkupParser, AlignmentTagsAndTheirEndTags)
{
    EXPECT_EQ(Parse("<al_c></al_c><al_r></al_r><al><al_l></al_l>"),
        (std::vector<MarkupItem> {AlignLine {Alignment::Centre}, AlignLine {Alignment::Left},
            AlignLine {Alignment::Right}, AlignLine {Alignment::Left}, AlignLine {Alignment::Left},
            AlignLine {Alignment::Left}, AlignLine {Alignment::Left}}));
}

TEST(MarkupParser, RuleTakesPercentDefault100AndTheCurrentTextColour)
{
    EXPECT_EQ(Parse("<hr><ct=0x00AA00><hr=50%><hr=30></ct><hr=0x10 %>"),
        (std::vector<MarkupItem> {Rule(100, 0x101010), Rule(50, 0x00AA00), Rule(30, 0x00AA00), Rule(16, 0x101010)}));
}

TEST(MarkupParser, ValueEndsAtASpace)
{
    EXPECT_EQ(Parse("<br=2 3>"), (std::vector<MarkupItem> {Breaks(2)}));
}

TEST(MarkupParser, ColourTagWithoutValueKeepsTheColour)
{
    const auto items = Parse("<ct=0x123456>a<ct>b");
    ASSERT_EQ(items.size(), 1U);
    EXPECT_EQ(std::get<TextRun>(items[0]).text, "ab");
}

} // namespace
} // namespace deskwarden::test
