#include "UserDicFormat.h"

#include "StoreFaults.h"

#include <gtest/gtest.h>

namespace format = talk::user_dic_format;

namespace {

TEST(UserDicFormatTest, EncodesLengthPrefixedEntriesAndReadsThemBack)
{
    std::string bytes;
    ASSERT_TRUE(format::Encode({"AB", "", "CDEF"}, bytes));
    EXPECT_EQ(bytes, std::string("\x02\0\0\0AB\0\0\0\0\x04\0\0\0CDEF", 18));
    const format::Decoded decoded = format::Decode(bytes);
    EXPECT_TRUE(decoded.complete);
    EXPECT_EQ(decoded.texts, (std::vector<std::string> {"AB", "", "CDEF"}));
}

TEST(UserDicFormatTest, TruncationAtEveryOffsetKeepsTheWholeEntriesBeforeIt)
{
    std::string bytes;
    ASSERT_TRUE(format::Encode({"first", "second", "third"}, bytes));
    const std::size_t ends[] = {9, 19, 28};
    for (std::size_t length = 0; length <= bytes.size(); ++length) {
        const format::Decoded decoded = format::Decode(std::string_view(bytes).substr(0, length));
        const auto whole = static_cast<std::size_t>(
            std::count_if(std::begin(ends), std::end(ends), [&](std::size_t end) { return end <= length; }));
        EXPECT_EQ(decoded.texts.size(), whole) << length;
        EXPECT_EQ(decoded.complete, length == 0 || length == 9 || length == 19 || length == 28) << length;
    }
}

TEST(UserDicFormatTest, LengthBeyondTheDataStopsTheReadWithoutAllocatingIt)
{
    const std::string bytes("\x03\0\0\0abc\xFF\xFF\xFF\xFFxyz", 14);
    const format::Decoded decoded = format::Decode(bytes);
    EXPECT_FALSE(decoded.complete);
    EXPECT_EQ(decoded.texts, std::vector<std::string> {"abc"});
}

TEST(UserDicFormatTest, RandomBytesNeverReadPastTheData)
{
    for (unsigned seed = 0; seed < 300; ++seed) {
        const std::string bytes = store_test::RandomBytes(seed % 97, seed);
        std::size_t consumed = 0;
        for (const std::string& text : format::Decode(bytes).texts) {
            consumed += 4 + text.size();
        }
        EXPECT_LE(consumed, bytes.size()) << seed;
    }
}

} // namespace
