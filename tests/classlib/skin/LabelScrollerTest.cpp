#include "skin/LabelScroller.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(LabelScrollerTest, CapacityIsTwiceTheWidthOverTheWidthOfW)
{
    LabelScroller scroller;
    EXPECT_FALSE(scroller.SetText("short", 50, 10));
    EXPECT_EQ(scroller.Capacity(), 10);
    EXPECT_EQ(scroller.DisplayText(), "short");
    EXPECT_FALSE(scroller.Tick());
}

TEST(LabelScrollerTest, TextLongerThanTheCapacityScrolls)
{
    LabelScroller scroller;
    EXPECT_TRUE(scroller.SetText("abcdef", 10, 5)); // capacity 4
    EXPECT_EQ(scroller.Capacity(), 4);
    EXPECT_EQ(scroller.DisplayText(), "abcdef");
}

TEST(LabelScrollerTest, AsciiStepsTwoBytesBlanksOne)
{
    LabelScroller scroller;
    scroller.SetText("ab cdefgh", 10, 5);
    std::vector<size_t> offsets;
    for (int i = 0; i < 7; ++i) {
        scroller.Tick();
        offsets.push_back(scroller.Offset());
    }
    // 0 'a' -> 2 ' ' -> 3 'c' -> 5 'e' -> 7 'g' -> 9 (the end) -> back to 8, +2 past the end -> 0 -> 2.
    EXPECT_EQ(offsets, (std::vector<size_t> {2, 3, 5, 7, 9, 0, 2}));
}

TEST(LabelScrollerTest, WrapMarkerFollowsAShortTail)
{
    LabelScroller scroller;
    scroller.SetText("abcdefgh", 10, 5); // capacity 4
    for (int i = 0; i < 3; ++i)
        scroller.Tick(); // offset 6: "gh" is shorter than the capacity
    EXPECT_EQ(scroller.DisplayText(), "gh <-- abcdefgh");
}

TEST(LabelScrollerTest, WideCharactersCountTwoCellsAndAreNeverSplit)
{
    LabelScroller scroller;
    std::string text = "録音ボタンを押してください";
    EXPECT_EQ(LabelScroller::DisplayCells(text), 26);
    EXPECT_TRUE(scroller.SetText(text, 100, 10)); // capacity 20 cells
    for (int i = 0; i < 30; ++i) {
        scroller.Tick();
        size_t offset = scroller.Offset();
        ASSERT_TRUE(offset == text.size() || (static_cast<unsigned char>(text[offset]) & 0xC0) != 0x80)
            << "offset " << offset << " splits a character";
    }
    scroller.SetText(text, 100, 10);
    scroller.Tick();
    EXPECT_EQ(scroller.Offset(), 3u); // one character of three bytes
}

TEST(LabelScrollerTest, StoppedTimerFreezesTheOffset)
{
    LabelScroller scroller;
    scroller.SetText("abcdefgh", 10, 5);
    scroller.SetTimerEnabled(false);
    EXPECT_FALSE(scroller.Tick());
    EXPECT_EQ(scroller.Offset(), 0u);
    scroller.SetTimerEnabled(true);
    EXPECT_TRUE(scroller.Tick());
    EXPECT_EQ(scroller.Offset(), 2u);
}

TEST(LabelScrollerTest, NewTextRestartsAtTheBeginning)
{
    LabelScroller scroller;
    scroller.SetText("abcdefgh", 10, 5);
    scroller.Tick();
    scroller.SetText("ijklmnop", 10, 5);
    EXPECT_EQ(scroller.Offset(), 0u);
}

TEST(LabelScrollerTest, ZeroWidthOfWGivesNoCapacityInsteadOfDividingByZero)
{
    LabelScroller scroller;
    EXPECT_TRUE(scroller.SetText("a", 100, 0));
    EXPECT_EQ(scroller.Capacity(), 0);
}

} // namespace
