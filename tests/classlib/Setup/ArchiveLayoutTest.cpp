#include "Setup/ArchiveLayout.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ArchiveLayoutTest, CountsSwitchToFourBytesAt0xFFFF)
{
    const Bytes below = talk::archive::StoreBytes(Bytes(0xFFFE, 1));
    EXPECT_EQ(below.size(), 2u + 0xFFFE);
    EXPECT_EQ(below[0], 0xFE);
    EXPECT_EQ(below[1], 0xFF);
    const Bytes at = talk::archive::StoreBytes(Bytes(0xFFFF, 1));
    ASSERT_EQ(at.size(), 6u + 0xFFFF);
    EXPECT_EQ(Bytes(at.begin(), at.begin() + 6), (Bytes {0xFF, 0xFF, 0xFF, 0xFF, 0, 0}));
    EXPECT_EQ(talk::archive::LoadBytes(at)->size(), 0xFFFFu);
}

struct TextLengthCase
{
    std::size_t length;
    Bytes prefix; // the count of one text, then the length field
};

class TextLengthTest : public ::testing::TestWithParam<TextLengthCase>
{
};

TEST_P(TextLengthTest, LengthFieldsGrowAtTheirLimits)
{
    const std::string text(GetParam().length, 't');
    const Bytes stored = talk::archive::StoreTexts({text});
    const Bytes& prefix = GetParam().prefix;
    ASSERT_EQ(stored.size(), prefix.size() + text.size());
    EXPECT_EQ(Bytes(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(prefix.size())), prefix);
    const auto loaded = talk::archive::LoadTexts(stored);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(*loaded, std::vector<std::string> {text});
}

INSTANTIATE_TEST_SUITE_P(Limits, TextLengthTest,
    ::testing::Values(TextLengthCase {0, {1, 0, 0}}, TextLengthCase {254, {1, 0, 254}},
        TextLengthCase {255, {1, 0, 0xFF, 0xFF, 0}}, TextLengthCase {0xFFFD, {1, 0, 0xFF, 0xFD, 0xFF}},
        TextLengthCase {0xFFFE, {1, 0, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0}}));

TEST(ArchiveLayoutTest, EveryTruncationIsRefused)
{
    const Bytes texts = talk::archive::StoreTexts({"alpha", std::string(300, 'b'), ""});
    const Bytes dwords = talk::archive::StoreDwords({1, 2, 3});
    const Bytes words = talk::archive::StoreWords({1, 2, 3});
    for (std::size_t length = 0; length < texts.size(); ++length) {
        EXPECT_FALSE(
            talk::archive::LoadTexts(Bytes(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(length))))
            << length;
    }
    for (std::size_t length = 0; length < dwords.size(); ++length) {
        EXPECT_FALSE(
            talk::archive::LoadDwords(Bytes(dwords.begin(), dwords.begin() + static_cast<std::ptrdiff_t>(length))));
        EXPECT_FALSE(
            talk::archive::LoadWords(Bytes(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(length / 2 + 1)))
            && length / 2 + 1 < words.size());
    }
    EXPECT_TRUE(talk::archive::LoadTexts(texts).has_value());
}

TEST(ArchiveLayoutTest, HugeCountsAreRefusedBeforeAnythingIsAllocated)
{
    EXPECT_FALSE(talk::archive::LoadDwords({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4}));
    EXPECT_FALSE(talk::archive::LoadTexts({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0}));
    // A text whose 4-byte length claims more than is there.
    EXPECT_FALSE(talk::archive::LoadTexts({1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'x'}));
    // The wide-text marker is not a length.
    EXPECT_FALSE(talk::archive::LoadTexts({1, 0, 0xFF, 0xFE, 0xFF, 0}));
}

TEST(ArchiveLayoutTest, BytesAfterTheCollectionAreIgnored)
{
    Bytes stored = talk::archive::StoreWords({7});
    stored.push_back(0xEE);
    EXPECT_EQ(talk::archive::LoadWords(stored), (std::vector<std::uint16_t> {7}));
}

} // namespace
