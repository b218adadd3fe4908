#include "Dft.h"

#include "SyntheticAudio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace halvox {
namespace {

std::vector<double> GoldenFrame()
{
    const testaudio::Samples samples = testaudio::GoldenSignal(kDftSize, 4242);
    return {samples.begin(), samples.end()};
}

// From tests/engine/golden/derive_front_end_golden.py (numpy.fft.rfft of GoldenSignal(256, 4242)).
TEST(DftTest, BinSumsMatchIndependentTransform)
{
    const std::vector<double> frame = GoldenFrame();
    double magnitudes[kDftBins];
    Dft256Magnitudes(frame.data(), magnitudes);
    EXPECT_NEAR(SumBins(magnitudes, 115, 124), 73797.9770477, 73797.98 * 1e-9);
    EXPECT_NEAR(SumBins(magnitudes, 10, 29), 218920.117703, 218920.12 * 1e-9);
}

TEST(DftTest, PowerMatchesIndependentTransformIncludingEdgeBins)
{
    const std::vector<double> frame = GoldenFrame();
    double power[kDftBins];
    Dft256Power(frame.data(), power);
    EXPECT_NEAR(power[0], 900480064.0, 1e-3);
    EXPECT_NEAR(power[5], 280697298175.0, 1.0);
    EXPECT_NEAR(power[128], 9000000.0, 1e-3);
}

class DftCosineTest : public ::testing::TestWithParam<int>
{
};

// A unit cosine exactly on bin b has |X[b]| = 128 (256 at 0 and 128) and nothing elsewhere.
TEST_P(DftCosineTest, CosineOnABinLandsOnlyInThatBin)
{
    const int bin = GetParam();
    double frame[kDftSize];
    for (int n = 0; n < kDftSize; ++n) {
        frame[n] = std::cos(2.0 * std::numbers::pi * bin * n / kDftSize);
    }
    double magnitudes[kDftBins];
    Dft256Magnitudes(frame, magnitudes);
    const double expected = (bin == 0 || bin == kDftBins - 1) ? 256.0 : 128.0;
    for (int k = 0; k < kDftBins; ++k) {
        EXPECT_NEAR(magnitudes[k], k == bin ? expected : 0.0, 1e-9) << "bin " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Bins, DftCosineTest, ::testing::Values(0, 1, 20, 77, 127, 128));

TEST(DftTest, SumBinsClampsToTheSpectrum)
{
    double magnitudes[kDftBins];
    std::fill(magnitudes, magnitudes + kDftBins, 1.0);
    EXPECT_DOUBLE_EQ(SumBins(magnitudes, -10, 300), kDftBins);
    EXPECT_DOUBLE_EQ(SumBins(magnitudes, 5, 4), 0.0);
}

} // namespace
} // namespace halvox
