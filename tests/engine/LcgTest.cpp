#include "Lcg.h"

#include <gtest/gtest.h>

namespace halvox {
namespace {

TEST(LcgTest, SeededWithZeroGivesTheKnownSequence)
{
    Lcg generator(0);
    EXPECT_EQ(generator.Next(), 38);
    EXPECT_EQ(generator.Next(), 7719);
    EXPECT_EQ(generator.Next(), 21238);
    EXPECT_EQ(generator.Next(), 2437);
}

TEST(LcgTest, UnitValueIsTheValueOver32767AndReseedRestarts)
{
    Lcg generator(0);
    generator.Next();
    generator.Next();
    generator.Reseed(0);
    EXPECT_DOUBLE_EQ(generator.NextUnit(), 38.0 / 32767.0);
}

TEST(LcgTest, ValuesStayWithinFifteenBits)
{
    Lcg generator(0xdeadbeef);
    for (int i = 0; i < 100000; ++i) {
        const int value = generator.Next();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
}

} // namespace
} // namespace halvox
