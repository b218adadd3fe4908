#include "VoiceDicLayout.h"

#include "ByteOrder.h"

#include <gtest/gtest.h>

namespace layout = talk::voice_dic_layout;

namespace {

TEST(VoiceDicLayoutTest, SectionsSitAtTheirDocumentedOffsets)
{
    const std::uint64_t expected[] = {428, 21087, 41746, 62405, 83064, 103723};
    for (std::size_t s = 0; s < layout::kSectionCount; ++s) {
        EXPECT_EQ(layout::SectionOffset(s), expected[s]);
        EXPECT_EQ(layout::NickPos(layout::kSectionNames[s], 2), 2 * 125000 + expected[s]);
    }
    // The last section ends inside the slot, leaving the unused tail.
    EXPECT_EQ(layout::SectionOffset(5) + 4 + layout::kSectionCapacity, 124382u);
}

TEST(VoiceDicLayoutTest, NamesCompareWithoutCaseAndOthersHaveNoSection)
{
    EXPECT_EQ(layout::NickPos("AAJ", 0), layout::NickPos("aaj", 0));
    EXPECT_EQ(layout::NickPos("aAj", 3), layout::NickPos("aaj", 3));
    for (const char* other : {"", "agj", "aaj ", "aa", "ａａｊ"}) {
        EXPECT_EQ(layout::SectionIndex(other), -1) << other;
        EXPECT_EQ(layout::NickPos(other, 1), 0u) << other;
    }
}

TEST(VoiceDicLayoutTest, HeaderRoundTripsAndRefusesTextsTooLongForTheirField)
{
    std::string header;
    ASSERT_TRUE(layout::EncodeHeader(std::string(176, 'I'), std::string(240, 'C'), header));
    ASSERT_EQ(header.size(), layout::kHeaderSize);
    const layout::SlotHeader decoded = layout::DecodeHeader(header);
    EXPECT_TRUE(decoded.inUse);
    EXPECT_TRUE(decoded.intact);
    EXPECT_EQ(decoded.idText, std::string(176, 'I'));
    EXPECT_EQ(decoded.certiText, std::string(240, 'C'));

    EXPECT_FALSE(layout::EncodeHeader(std::string(177, 'I'), "C", header));
    EXPECT_TRUE(header.empty());
    EXPECT_FALSE(layout::EncodeHeader("I", std::string(241, 'C'), header));
}

TEST(VoiceDicLayoutTest, DamagedLengthsMakeAHeaderThatMatchesNoUser)
{
    std::string header;
    ASSERT_TRUE(layout::EncodeHeader("ID", "KEY", header));
    std::string badId = header;
    talk::WriteLe32(badId.data() + layout::kIdLengthOffset, 177);
    EXPECT_FALSE(layout::DecodeHeader(badId).intact);
    std::string badKey = header;
    talk::WriteLe32(badKey.data() + layout::kCertiLengthOffset, 0xFFFFFFFFu);
    EXPECT_FALSE(layout::DecodeHeader(badKey).intact);
    EXPECT_TRUE(layout::DecodeHeader(badKey).certiText.empty());
    EXPECT_FALSE(layout::DecodeHeader(header.substr(0, 100)).inUse);
}

} // namespace
