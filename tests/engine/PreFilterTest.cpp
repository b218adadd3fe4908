#include "PreFilter.h"

#include "SyntheticAudio.h"

#include <gtest/gtest.h>

#include <vector>

namespace halvox {
namespace {

using testaudio::Samples;

// From tests/engine/golden/derive_front_end_golden.py (GoldenSignal(60, 12345)).
const Samples kGoldenOutput = {-2772, -115, 806, -1702, -2573, 205, -153, -1619, -527, 1432, 427, 648, 1035, -31, 1086,
    2611, 2665, -20, 27, -367, 830, 1636, -24, 575, 1815, 4589, 4801, 3432, 4459, 2914, 3631, 2950, 2767, 847, 625, 874,
    617, 1181, -44, -132, -12, -582, -1468, -2424, -2514, -3890, -2494, -2816, -4278, -3993, -5002, -4340, -4945, -4271,
    -4119, -2411, -3251, -3076, -1892, -2078};

TEST(PreFilterTest, MatchesIndependentlyDerivedSamplesExactly)
{
    Samples samples = testaudio::GoldenSignal(60, 12345);
    PreFilter(samples.data(), static_cast<int>(samples.size()));
    EXPECT_EQ(samples, kGoldenOutput);
}

TEST(PreFilterTest, RemovesConstantLevelAndKeepsTheTail)
{
    Samples samples(200, 1234);
    PreFilter(samples.data(), 200);
    for (int k = 0; k < 200 - kPreFilterTail; ++k) {
        ASSERT_EQ(samples[k], 0) << "sample " << k;
    }
    for (int k = 200 - kPreFilterTail; k < 200; ++k) {
        ASSERT_EQ(samples[k], 1234) << "sample " << k;
    }
}

class PreFilterShortTest : public ::testing::TestWithParam<int>
{
};

TEST_P(PreFilterShortTest, RecordingsOfAtMostTheTailAreUntouched)
{
    const int count = GetParam();
    const Samples original = testaudio::GoldenSignal(count, 7);
    Samples samples = original;
    PreFilter(samples.data(), count);
    EXPECT_EQ(samples, original);
}

INSTANTIATE_TEST_SUITE_P(Counts, PreFilterShortTest, ::testing::Values(0, 1, 34, 35));

TEST(PreFilterTest, ThirtySixSamplesChangeOnlyTheFirst)
{
    const Samples original = testaudio::GoldenSignal(36, 7);
    Samples samples = original;
    PreFilter(samples.data(), 36);
    EXPECT_NE(samples[0], original[0]);
    EXPECT_TRUE(std::equal(samples.begin() + 1, samples.end(), original.begin() + 1));
}

TEST(PreFilterTest, NullOrNegativeCountIsIgnored)
{
    PreFilter(nullptr, 100);
    Samples samples = testaudio::GoldenSignal(50, 3);
    const Samples original = samples;
    PreFilter(samples.data(), -5);
    EXPECT_EQ(samples, original);
}

// A full-scale tone at a quarter of the sample rate is amplified about 2.47 times; the result must stay
// at the rail with its own sign rather than wrap around to the opposite one.
TEST(PreFilterTest, OverloadSaturatesWithTheRightSign)
{
    Samples samples(400);
    const int16_t pattern[4] = {32000, 0, -32000, 0};
    for (size_t n = 0; n < samples.size(); ++n) {
        samples[n] = pattern[n % 4];
    }
    PreFilter(samples.data(), 400);
    int railHits = 0;
    for (int k = 0; k < 400 - kPreFilterTail; ++k) {
        if (k % 2 == 0) {
            // y[k] = 2.47 * x[k] for this pattern: positive inputs must stay positive.
            const int16_t expectedRail = (k % 4 == 0) ? int16_t {32767} : int16_t {-32768};
            ASSERT_EQ(samples[k], expectedRail) << "sample " << k;
            ++railHits;
        } else {
            ASSERT_EQ(samples[k], 0) << "sample " << k;
        }
    }
    EXPECT_GT(railHits, 100);
}

} // namespace
} // namespace halvox
