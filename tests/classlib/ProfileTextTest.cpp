#include "ProfileText.h"

#include <gtest/gtest.h>

using talk::ProfileText;

namespace {

const char* const kSample = "; settings\r\n"
                            "[DESK_WARDEN]\r\n"
                            "LastUser = alice \r\n"
                            "\r\n"
                            "[WORD_LIST]\r\n"
                            "aaj=ひらけごま\r\n"
                            "abj=sesame\r\n"
                            "\r\n"
                            "[word_list]\r\n"
                            "aaj=shadowed\r\n";

TEST(ProfileTextTest, LooksUpSectionsAndKeysWithoutRegardToCase)
{
    const ProfileText profile(kSample);
    EXPECT_EQ(profile.Value("desk_warden", "LASTUSER"), "alice");
    EXPECT_EQ(profile.Value("WORD_LIST", "aaj"), "ひらけごま");
    EXPECT_FALSE(profile.Value("WORD_LIST", "acj"));
    EXPECT_FALSE(profile.Value("NOPE", "aaj"));
}

TEST(ProfileTextTest, ListsSectionsAndKeysInFileOrder)
{
    const ProfileText profile(kSample);
    EXPECT_EQ(profile.SectionNames(), (std::vector<std::string> {"DESK_WARDEN", "WORD_LIST", "word_list"}));
    EXPECT_EQ(profile.KeyNames("Word_List"), (std::vector<std::string> {"aaj", "abj"}));
    EXPECT_TRUE(profile.KeyNames("missing").empty());
}

TEST(ProfileTextTest, ChangingOneKeyKeepsEveryOtherLineByteForByte)
{
    ProfileText profile(kSample);
    ASSERT_TRUE(profile.SetValue("word_list", "ABJ", "open"));
    std::string expected = kSample;
    expected.replace(expected.find("abj=sesame"), 10, "abj=open");
    EXPECT_EQ(profile.Text(), expected);
}

TEST(ProfileTextTest, NewKeyGoesAtTheEndOfItsSectionBeforeTheBlankLine)
{
    ProfileText profile(kSample);
    ASSERT_TRUE(profile.SetValue("DESK_WARDEN", "LastExecutePos", "1,2,3,4"));
    EXPECT_NE(profile.Text().find("LastUser = alice \r\nLastExecutePos=1,2,3,4\r\n\r\n[WORD_LIST]"), std::string::npos);
}

TEST(ProfileTextTest, NewSectionIsAppendedAfterALastLineWithoutBreak)
{
    ProfileText profile("[A]\nx=1");
    ASSERT_TRUE(profile.SetValue("B", "y", "2"));
    EXPECT_EQ(profile.Text(), "[A]\nx=1\n[B]\ny=2\n");
}

TEST(ProfileTextTest, DeletesSectionsAndKeys)
{
    ProfileText profile(kSample);
    EXPECT_TRUE(profile.DeleteSection("WORD_LIST"));
    EXPECT_EQ(profile.Value("WORD_LIST", "aaj"), "shadowed"); // the later duplicate is reached now
    EXPECT_TRUE(profile.DeleteKey("desk_warden", "lastuser"));
    EXPECT_FALSE(profile.Value("DESK_WARDEN", "LastUser"));
    EXPECT_FALSE(profile.DeleteKey("DESK_WARDEN", "LastUser"));
}

TEST(ProfileTextTest, KeepsAByteOrderMarkAndIgnoresCommentsAndLinesBeforeAnySection)
{
    ProfileText profile("\xEF\xBB\xBFstray=1\n[S]\n;k=hidden\nk=v\n");
    EXPECT_EQ(profile.SectionNames(), std::vector<std::string> {"S"});
    EXPECT_EQ(profile.KeyNames("S"), std::vector<std::string> {"k"});
    ASSERT_TRUE(profile.SetValue("S", "k", "w"));
    EXPECT_EQ(profile.Text(), "\xEF\xBB\xBFstray=1\n[S]\n;k=hidden\nk=w\n");
}

TEST(ProfileTextTest, ReplaceSectionRenumbersAndEmptyListRemovesIt)
{
    ProfileText profile("[IMAGE_FILES]\n1=a\n2=b\n3=c\n[X]\nq=1\n");
    ASSERT_TRUE(profile.ReplaceSection("image_files", {{"1", "c"}}));
    EXPECT_EQ(profile.KeyNames("IMAGE_FILES"), std::vector<std::string> {"1"});
    EXPECT_EQ(profile.Value("X", "q"), "1");
    ASSERT_TRUE(profile.ReplaceSection("IMAGE_FILES", {}));
    EXPECT_TRUE(profile.SectionNames() == std::vector<std::string> {"X"});
}

struct RefusedWrite
{
    const char* section;
    const char* key;
    const char* value;
};

class ProfileTextRefusalTest : public ::testing::TestWithParam<RefusedWrite>
{
};

TEST_P(ProfileTextRefusalTest, RefusesTextsThatWouldBreakTheLineStructure)
{
    ProfileText profile("[S]\nk=v\n");
    EXPECT_FALSE(profile.SetValue(GetParam().section, GetParam().key, GetParam().value));
    EXPECT_EQ(profile.Text(), "[S]\nk=v\n");
}

INSTANTIATE_TEST_SUITE_P(Inputs, ProfileTextRefusalTest,
    ::testing::Values(RefusedWrite {"S", "k", "two\nlines"}, RefusedWrite {"S", "k", "cr\rhere"},
        RefusedWrite {"S]x", "k", "v"}, RefusedWrite {"S", "a=b", "v"}, RefusedWrite {"", "k", "v"},
        RefusedWrite {"S", " ", "v"}, RefusedWrite {"S", ";k", "v"}, RefusedWrite {"S\n[T", "k", "v"}));

} // namespace
