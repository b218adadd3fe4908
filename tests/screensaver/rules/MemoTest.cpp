#include "rules/Memo.h"
#include "rules/TextLayout.h"

#include <gtest/gtest.h>

namespace screenveil {
namespace {

std::tm At(int year, int month, int day, int hour, int minute, int second)
{
    std::tm time {};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

TEST(Memo, TimeTextHasTwoDigitsPerPart)
{
    EXPECT_EQ(MemoTimeText(At(2007, 3, 4, 5, 6, 7)), "07-03-04 05:06:07");
    EXPECT_EQ(MemoTimeText(At(2026, 12, 31, 23, 59, 58)), "26-12-31 23:59:58");
}

TEST(Memo, AnEmptyTextLeavesNothingAndAnEmptyNameIsListedAsDots)
{
    EXPECT_FALSE(MakeMemo("", "Suzuki", At(2026, 1, 2, 3, 4, 5)));
    const std::optional<Memo> memo = MakeMemo("Back at three", "", At(2026, 1, 2, 3, 4, 5));
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->name, "...");
    EXPECT_EQ(memo->time, "26-01-02 03:04:05");
}

TEST(Memo, SavedFileHoldsEveryMemoInOrder)
{
    const std::vector<Memo> memos {
        {"26-01-02 03:04:05", "Suzuki", "Back at three"}, {"26-01-02 03:10:00", "...", "Hi"}};
    EXPECT_EQ(MemoFileText(memos),
        "[26-01-02 03:04:05] From : Suzuki\nBack at three\n\n[26-01-02 03:10:00] From : ...\nHi\n\n");
}

TEST(TextLayout, CommentLinesThenEachMemoWithItsSignature)
{
    const std::vector<Memo> memos {{"26-01-02 03:04:05", "Suzuki", "one\r\ntwo"}};
    const std::vector<PlacedLine> lines = LayOutTexts("Away\r\nBack soon", memos);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].text, "Away");
    EXPECT_EQ(lines[0].y, 10);
    EXPECT_EQ(lines[1].y, 28);
    EXPECT_EQ(lines[2].text, "one");
    EXPECT_EQ(lines[2].y, 56); // two comment lines of 18, then 10 of space
    EXPECT_EQ(lines[2].role, TextRole::MemoText);
    EXPECT_EQ(lines[3].y, 74);
    EXPECT_EQ(lines[4].text, "[26-01-02 03:04:05]  from: Suzuki");
    EXPECT_EQ(lines[4].role, TextRole::MemoSigned);
    EXPECT_EQ(lines[4].y, 92);
}

TEST(TextLayout, WithoutACommentTheMemosStartBelowTheGap)
{
    const std::vector<PlacedLine> lines = LayOutTexts("", {{"t", "n", "x"}, {"t", "m", "y"}});
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].y, 20);
    EXPECT_EQ(lines[2].y, 20 + 18 + 12 + 14);
}

} // namespace
} // namespace screenveil
