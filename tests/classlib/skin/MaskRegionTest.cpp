#include "skin/MaskRegion.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlack = 0xFF000000;

TEST(MaskRegionTest, RunsOfNonWhitePixelsBecomeOnePixelRows)
{
    // Row 0: . X X . X    Row 1: X X X X X    Row 2: all white
    std::vector<uint32_t> pixels = {
        kWhite, kBlack, kBlack, kWhite, kBlack, 0, //
        kBlack, kBlack, kBlack, kBlack, kBlack, 0, //
        kWhite, kWhite, kWhite, kWhite, kWhite, 0, //
    };
    std::vector<SkinRect> runs = MaskRuns(pixels.data(), 5, 3, 6);
    std::vector<SkinRect> expected = {{1, 0, 3, 1}, {4, 0, 5, 1}, {0, 1, 5, 2}};
    EXPECT_EQ(runs, expected);
}

TEST(MaskRegionTest, OnlyPureWhiteIsCutOutAndAlphaIsIgnored)
{
    EXPECT_TRUE(IsMaskedOut(0xFFFFFFFF));
    EXPECT_TRUE(IsMaskedOut(0x00FFFFFF));
    EXPECT_FALSE(IsMaskedOut(0xFFFEFFFF));
    EXPECT_FALSE(IsMaskedOut(0xFFFFFFFE));
}

TEST(MaskRegionTest, DegenerateInputGivesNoRuns)
{
    uint32_t pixel = kBlack;
    EXPECT_TRUE(MaskRuns(nullptr, 1, 1, 1).empty());
    EXPECT_TRUE(MaskRuns(&pixel, 0, 1, 1).empty());
    EXPECT_TRUE(MaskRuns(&pixel, 2, 1, 1).empty()); // stride shorter than a row
}

} // namespace
