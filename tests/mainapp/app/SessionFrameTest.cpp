#include "app/SessionFrame.h"

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

using namespace deskwarden::app;

TEST(SessionFrames, ArriveWholeHoweverTheBytesAreCut)
{
    const std::string bytes = EncodeFrame({kFrameShowWindow, ""}) + EncodeFrame({kFrameHandOff, "2,ooo,1\n/a\n"})
        + EncodeFrame({kFrameLockScreen, std::string("\0\x01", 2)});
    FrameReader reader;
    std::vector<SessionFrame> frames;
    for (char c : bytes) {
        reader.Append(std::string_view(&c, 1));
        while (auto frame = reader.Next())
            frames.push_back(*frame);
    }
    ASSERT_EQ(frames.size(), 3U);
    EXPECT_EQ(frames[0].kind, kFrameShowWindow);
    EXPECT_EQ(frames[0].payload, "");
    EXPECT_EQ(frames[1].kind, 1025U);
    EXPECT_EQ(frames[1].payload, "2,ooo,1\n/a\n");
    EXPECT_EQ(frames[2].kind, 0x8000U + 100U);
    EXPECT_EQ(frames[2].payload, std::string("\0\x01", 2));
}

TEST(SessionFrames, KindAndLengthAreBigEndian)
{
    EXPECT_EQ(EncodeFrame({1025, "ab"}),
        std::string("\0\0\x04\x01\0\0\0\x02"
                    "ab",
            10));
}

TEST(SessionFrames, AnOverlongPayloadSpoilsTheConnection)
{
    FrameReader reader;
    reader.Append(std::string("\0\0\0\x01\x7f\xff\xff\xff", 8));
    EXPECT_FALSE(reader.Next().has_value());
    EXPECT_TRUE(reader.Spoiled());
    reader.Append(EncodeFrame({kFrameShowWindow, ""}));
    EXPECT_FALSE(reader.Next().has_value()) << "nothing after the spoiling frame is believed";
}

} // namespace
} // namespace deskwarden::test
