#include <gtest/gtest.h>

#include <platform/AsciiCase.h>

using namespace platform;

namespace {

// Bytes of UTF-8 text (here "Ä" and "ä") must survive folding in both directions untouched.
TEST(AsciiCaseTest, FoldingChangesAsciiLettersOnly)
{
    EXPECT_EQ(FoldAscii("Key-Name_09 \xC3\x84"), "key-name_09 \xC3\x84");
    EXPECT_EQ(UpperAscii("default-\xC3\xA4"), "DEFAULT-\xC3\xA4");
    EXPECT_EQ(FoldAscii("@[`{"), "@[`{"); // the neighbours of the letter ranges
    EXPECT_EQ(UpperAscii("@[`{"), "@[`{");
}

TEST(AsciiCaseTest, EqualityIgnoresAsciiCaseButNotOtherBytes)
{
    EXPECT_TRUE(EqualsIgnoringAsciiCase("Administrators", "ADMINISTRATORS"));
    EXPECT_TRUE(EqualsIgnoringAsciiCase("", ""));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("abc", "abcd"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("abc", "abd"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC3\x84", "\xC3\xA4")); // Ä and ä differ outside ASCII
    EXPECT_FALSE(EqualsIgnoringAsciiCase("@", "`")); // 0x40 and 0x60 are not a letter pair
}

} // namespace
