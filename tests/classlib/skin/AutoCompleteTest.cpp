#include "skin/AutoComplete.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kWords = {"Sakura", "Sakana", "Fuji"};

TEST(AutoCompleteTest, PrefixIsCompletedAndTheTailSelected)
{
    AutoCompleteResult result = AutoCompleteText(kWords, "sak", "sa");
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.text, "Sakura");
    EXPECT_EQ(result.selectionStart, 3u);
    EXPECT_EQ(result.selectionEnd, 6u);
}

TEST(AutoCompleteTest, NoMatchKeepsTextAndCaret)
{
    AutoCompleteResult result = AutoCompleteText(kWords, "Tok", "To");
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(result.text, "Tok");
    EXPECT_EQ(result.selectionStart, 3u);
    EXPECT_EQ(result.selectionEnd, 3u);
}

TEST(AutoCompleteTest, DeletingIsNotUndoneByCompletion)
{
    EXPECT_FALSE(AutoCompleteText(kWords, "Sak", "Sakura").completed);
    EXPECT_FALSE(AutoCompleteText(kWords, "", "S").completed);
}

} // namespace
