#include "LpcCepstrumFrontEnd.h"

#include "SyntheticAudio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace halvox {
namespace {

using testaudio::Samples;

constexpr int kDim = 20;

// From tests/engine/golden/derive_front_end_golden.py (Toeplitz solve of GoldenSignal(240, 777)).
const float kGoldenVector[kDim] = {0.0757401958f, -0.175571904f, 0.0535827503f, 0.198120967f, 0.106840052f,
    0.144584209f, 0.203666046f, -0.0659147352f, 0.153269753f, 0.15235734f, 0.101924278f, -0.0106653692f, 0.129432797f,
    -0.000201132207f, -0.155234993f, -0.0966186151f, -0.0774619356f, 0.00147542893f, -0.0107282447f, -0.057055831f};

void ExpectRelativelyNear(const float* actual, const float* expected, int count)
{
    for (int n = 0; n < count; ++n) {
        EXPECT_NEAR(actual[n], expected[n], 1e-5 * std::max(1.0f, std::fabs(expected[n]))) << "coefficient " << n;
    }
}

class LpcCepstrumFrontEndTest : public ::testing::Test
{
protected:
    LpcCepstrumFrontEnd m_frontEnd {LpcCepstrumParams {}};
};

TEST_F(LpcCepstrumFrontEndTest, FrameMatchesIndependentDerivation)
{
    ASSERT_EQ(m_frontEnd.FeatureDim(), kDim);
    const Samples frame = testaudio::GoldenSignal(240, 777);
    float out[kDim];
    ASSERT_TRUE(m_frontEnd.ComputeFrame(frame.data(), out));
    ExpectRelativelyNear(out, kGoldenVector, kDim);
}

TEST_F(LpcCepstrumFrontEndTest, PeakNormalisationMakesLevelIrrelevant)
{
    const Samples loud = testaudio::GoldenSignal(240, 777);
    Samples halved(240);
    Samples half(240);
    for (int n = 0; n < 240; ++n) {
        halved[n] = static_cast<int16_t>(loud[n] & ~1); // even values, so halving is exact
        half[n] = static_cast<int16_t>(halved[n] / 2);
    }
    float a[kDim];
    float b[kDim];
    ASSERT_TRUE(m_frontEnd.ComputeFrame(halved.data(), a));
    ASSERT_TRUE(m_frontEnd.ComputeFrame(half.data(), b));
    ExpectRelativelyNear(a, b, kDim);
}

TEST_F(LpcCepstrumFrontEndTest, ConstantFramesOfAnyLevelGiveTheSameVector)
{
    const Samples thousand(240, 1000);
    const Samples one(240, 1);
    float a[kDim];
    float b[kDim];
    const bool first = m_frontEnd.ComputeFrame(thousand.data(), a);
    const bool second = m_frontEnd.ComputeFrame(one.data(), b);
    ASSERT_EQ(first, second);
    if (first) {
        ExpectRelativelyNear(a, b, kDim);
    }
}

TEST_F(LpcCepstrumFrontEndTest, AllZeroFrameGivesNoVector)
{
    const Samples zeros(240, 0);
    float out[kDim];
    std::fill(out, out + kDim, 42.0f);
    EXPECT_FALSE(m_frontEnd.ComputeFrame(zeros.data(), out));
    EXPECT_EQ(out[0], 42.0f);
}

// Silence padding must repeat the last vector instead of producing NaN that would poison quantisation.
TEST_F(LpcCepstrumFrontEndTest, SilentFramesRepeatThePreviousVectorAndStartAsZeros)
{
    Samples recording(80 * 20, 0);
    const Samples voiced = testaudio::GoldenSignal(240 + 80 * 4, 31);
    std::copy(voiced.begin(), voiced.end(), recording.begin() + 80 * 6);
    std::vector<float> out(20 * kDim, -1.0f);
    ASSERT_EQ(m_frontEnd.Compute(recording.data(), static_cast<int>(recording.size()), 0, 20, out.data(), 20), 20);
    for (float value : std::vector<float>(out.begin(), out.begin() + kDim)) {
        EXPECT_EQ(value, 0.0f);
    }
    // The voiced part covers samples 480 ... 1039; frame 13 (1040 ... 1279) is the first silent one after it.
    for (int f = 13; f < 17; ++f) {
        for (int d = 0; d < kDim; ++d) {
            ASSERT_EQ(out[f * kDim + d], out[12 * kDim + d]) << "frame " << f;
        }
    }
    for (float value : out) {
        ASSERT_TRUE(std::isfinite(value));
    }
}

TEST_F(LpcCepstrumFrontEndTest, FramesPastTheRecordingReadAsZeros)
{
    const Samples recording = testaudio::GoldenSignal(1000, 5);
    std::vector<float> out(30 * kDim, -1.0f);
    // Frames 10 ... 39 reach far past sample 999; frame 10 (800 ... 1039) is partly inside.
    const int written = m_frontEnd.Compute(recording.data(), 1000, 10, 40, out.data(), 30);
    ASSERT_EQ(written, 30);
    const auto partialFrame = [&](int first) {
        Samples frame(240, 0);
        std::copy(recording.begin() + first, recording.end(), frame.begin());
        return frame;
    };
    float expected[kDim];
    ASSERT_TRUE(m_frontEnd.ComputeFrame(partialFrame(800).data(), expected));
    ExpectRelativelyNear(out.data(), expected, kDim);
    // Frame 12 (960 ... 1199) is the last with samples; all later frames repeat it.
    ASSERT_TRUE(m_frontEnd.ComputeFrame(partialFrame(960).data(), expected));
    ExpectRelativelyNear(out.data() + 29 * kDim, expected, kDim);
}

struct FrameRangeCase
{
    int startFrame;
    int endFrame;
    int maxFrames;
    int expected;
};

class LpcFrameRangeTest : public ::testing::TestWithParam<FrameRangeCase>
{
};

TEST_P(LpcFrameRangeTest, WritesOnlyWhatFits)
{
    const FrameRangeCase c = GetParam();
    const LpcCepstrumFrontEnd frontEnd {LpcCepstrumParams {}};
    const Samples recording = testaudio::GoldenSignal(4000, 9);
    std::vector<float> out(std::max(c.maxFrames, 0) * kDim + kDim, 7.0f);
    EXPECT_EQ(frontEnd.Compute(recording.data(), 4000, c.startFrame, c.endFrame, out.data(), c.maxFrames), c.expected);
    for (size_t n = static_cast<size_t>(c.expected) * kDim; n < out.size(); ++n) {
        ASSERT_EQ(out[n], 7.0f) << "written past the result at " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, LpcFrameRangeTest,
    ::testing::Values(FrameRangeCase {0, 10, 20, 10}, FrameRangeCase {0, 10, 4, 4}, FrameRangeCase {5, 5, 10, 0},
        FrameRangeCase {8, 3, 10, 0}, FrameRangeCase {-3, 2, 10, 5}, FrameRangeCase {0, 10, -1, 0}));

struct ParamsCase
{
    LpcCepstrumParams params;
    int dim;
};

class LpcParamsTest : public ::testing::TestWithParam<ParamsCase>
{
};

TEST_P(LpcParamsTest, UnusableSettingsComputeNothing)
{
    const ParamsCase c = GetParam();
    const LpcCepstrumFrontEnd frontEnd(c.params);
    EXPECT_EQ(frontEnd.FeatureDim(), c.dim);
    const Samples recording = testaudio::GoldenSignal(2000, 2);
    std::vector<float> out(10 * 64, 0.0f);
    const int written = frontEnd.Compute(recording.data(), 2000, 0, 10, out.data(), 10);
    EXPECT_EQ(written, c.dim == 0 ? 0 : 10);
}

INSTANTIATE_TEST_SUITE_P(Settings, LpcParamsTest,
    ::testing::Values(ParamsCase {{240, 80, 16, 19}, 20}, ParamsCase {{240, 80, 12, 12}, 13},
        ParamsCase {{240, 80, 16, 30}, 31}, ParamsCase {{1, 80, 16, 19}, 0}, ParamsCase {{240, 0, 16, 19}, 0},
        ParamsCase {{240, 80, 0, 19}, 0}, ParamsCase {{240, 80, 16, -1}, 0}));

} // namespace
} // namespace halvox
