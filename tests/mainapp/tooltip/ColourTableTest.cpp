#include "tooltip/ColourTable.h"

#include "TooltipTestSupport.h"

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

TEST(ColourTable, BuiltInEntriesAndDesktopEntries)
{
    const ColourTable table(kTestSystemColours);
    const Colorref expected[kColourCount] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x101010,
        0x202020, 0x202020, 0x202020, 0xEE0000, 0x8B1A55, 0x0000FF, 0x303030, 0x101010};
    for (unsigned i = 0; i < kColourCount; ++i) {
        EXPECT_EQ(table.Entry(i), expected[i]) << "entry " << i;
    }
    EXPECT_EQ(table.DefaultText(), 0x101010U);
    EXPECT_EQ(table.DefaultBackground(), 0x202020U);
}

TEST(ColourTable, IndexesFrom26AreIgnored)
{
    ColourTable table(kTestSystemColours);
    EXPECT_TRUE(table.Set(25, 0xABCDEF));
    EXPECT_EQ(table.Entry(25), 0xABCDEFU);
    EXPECT_FALSE(table.Set(26, 0x123456));
    EXPECT_FALSE(table.Set(0xFFFFFFFF, 0x123456));
    EXPECT_EQ(table.Entry(26), std::nullopt);
    EXPECT_TRUE(table.Set(18, 0xFFFFFF));
    EXPECT_EQ(table.DefaultBackground(), 0xFFFFFFU);
}

TEST(ColourTable, DrawingColourSwapsRedAndBlueAndDropsTheTopByte)
{
    EXPECT_EQ(ToRgb(0x0000FF), (Rgb {255, 0, 0}));
    EXPECT_EQ(ToRgb(0xFF0000), (Rgb {0, 0, 255}));
    EXPECT_EQ(ToRgb(0xAB8B1A55), (Rgb {0x55, 0x1A, 0x8B}));
}

} // namespace
} // namespace deskwarden::test
