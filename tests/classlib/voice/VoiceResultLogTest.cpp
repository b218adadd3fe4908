#include "voice/VoiceResultLog.h"

#include "voice/VoiceAction.h"
#include "voice/VoiceTexts.h"

#include <gtest/gtest.h>

#include "../../support/FreshRootTest.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

using namespace talk::voice;

std::tm At(int year, int month, int day, int hour, int minute, int second)
{
    std::tm when {};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    return when;
}

TEST(VoiceResultLineTest, StampsTwoDigitPartsAndNamesThePurpose)
{
    EXPECT_EQ(FormatResultLine(At(2007, 3, 15, 9, 41, 2), "tanaka", 0, true),
        "[07-03-15 09:41:02] tanaka : Logon : Accept\n");
    EXPECT_EQ(FormatResultLine(At(2031, 12, 1, 23, 5, 59), "sato", 2, false),
        "[31-12-01 23:05:59] sato : Decrypt : Denied\n");
    EXPECT_EQ(FormatResultLine(At(2000, 1, 1, 0, 0, 0), "x", 9, true), "[00-01-01 00:00:00] x : User : Accept\n");
    EXPECT_STREQ(PurposeWord(1), "Encrypt");
    EXPECT_STREQ(PurposeWord(3), "Setting");
    EXPECT_STREQ(PurposeWord(-1), "User");
}

class VoiceResultLogTest : public warden::test::FreshRootTest
{
};

TEST_F(VoiceResultLogTest, AppendsToAPrivateFileAndDropsTheLineWhenItCannotOpen)
{
    const std::string folder = Root().string();
    ASSERT_TRUE(AppendResultLine(folder, "one\n"));
    ASSERT_TRUE(AppendResultLine(folder, "two\n"));
    std::ifstream in(folder + kResultLogName, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "one\ntwo\n");
    struct stat info
    {
    };
    ASSERT_EQ(::stat((folder + kResultLogName).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_FALSE(AppendResultLine(folder + "/missing", "three\n"));
}

TEST(VoiceTextsTest, FormatsTheirOnePlaceholderAndKnowsOnlyTheTable)
{
    EXPECT_EQ(FormatString(VoiceString::TakesRecorded, 3), "[3]回の録音が成功しました。");
    EXPECT_EQ(FormatString(VoiceString::NotTheWord, "ひまわり"), "[ひまわり]ではありません。");
    EXPECT_EQ(FormatString(VoiceString::Accepted, "unused"), "認証されました。");
    EXPECT_STREQ(
        StringText(3029), "録音部分に問題があって正常な音声登録が不可能なことがあります. \nそれでも登録なさいますか?");
    EXPECT_STREQ(StringText(3000), "");
}

TEST(VoiceLayoutTest, EachLayoutShowsItsEntryControls)
{
    EXPECT_EQ(VisibilityOf(0), (LayoutVisibility {false, false, false, true, true}));
    EXPECT_EQ(VisibilityOf(1), (LayoutVisibility {true, false, false, false, true}));
    EXPECT_EQ(VisibilityOf(2), (LayoutVisibility {false, true, false, true, false}));
    EXPECT_EQ(VisibilityOf(3), (LayoutVisibility {true, false, true, false, false}));
    EXPECT_EQ(VisibilityOf(4), LayoutVisibility {});
}

} // namespace
