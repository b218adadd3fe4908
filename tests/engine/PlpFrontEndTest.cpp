#include "PlpFrontEnd.h"

#include "EngineLog.h"
#include "SyntheticAudio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace halvox {
namespace {

using testaudio::Samples;

// From tests/engine/golden/derive_front_end_golden.py: GoldenSignal(1100, 99) has 9 frames; frame 4 uses the
// seven-point delta, frame 0 the 0.25 c_0 edge rule.
const float kGoldenFrame4[kPlpVectorSize] = {6.17112112f, -0.152583197f, 0.0974775702f, -0.150213867f, -0.372378558f,
    -0.388881773f, -0.234801024f, -0.323806256f, -0.385832429f, -0.212884977f, 0.0309598837f, 0.0117279477f,
    0.0634349659f, -0.00877529196f, -0.0151597774f, 0.0388067402f, 0.00751390867f, -0.0101251174f, -0.0476822667f,
    0.0719746649f, -0.0171764754f, -0.0697155446f, 0.105597623f, -0.0285659749f, -0.0429209657f, 0.0450383723f};
const float kGoldenFrame0Deltas[kPlpCepstra]
    = {1.54236758f, -0.0415603779f, 0.0422772467f, -0.0640033931f, -0.0736154988f, -0.0767029747f, -0.107151173f,
        -0.0723783448f, -0.0820874795f, -0.0506695546f, 0.00738372747f, -0.00289236242f, 0.00952108484f};

// Relative 1e-5 with an absolute floor: deltas are differences of cepstra of magnitude up to about 6.
void ExpectClose(float actual, float expected, const std::string& what)
{
    EXPECT_NEAR(actual, expected, 1e-5 * std::max(1.0f, std::fabs(expected))) << what;
}

float At(const std::vector<float>& features, int frame, int index)
{
    return features[static_cast<size_t>(frame) * kPlpVectorSize + index];
}

TEST(PlpFrontEndTest, FrameMatchesIndependentDerivation)
{
    const Samples utterance = testaudio::GoldenSignal(1100, 99);
    const std::vector<float> features = ComputePlpFeatures(utterance.data(), 1100);
    ASSERT_EQ(features.size(), 9u * kPlpVectorSize);
    for (int n = 0; n < kPlpVectorSize; ++n) {
        ExpectClose(At(features, 4, n), kGoldenFrame4[n], "frame 4 value " + std::to_string(n));
    }
    for (int n = 0; n < kPlpCepstra; ++n) {
        ExpectClose(At(features, 0, kPlpCepstra + n), kGoldenFrame0Deltas[n], "frame 0 delta " + std::to_string(n));
    }
}

struct FrameCountCase
{
    int samples;
    int frames;
};

class PlpFrameCountTest : public ::testing::TestWithParam<FrameCountCase>
{
};

TEST_P(PlpFrameCountTest, CountsWholeFrames)
{
    EXPECT_EQ(PlpFrameCount(GetParam().samples), GetParam().frames);
}

INSTANTIATE_TEST_SUITE_P(Counts, PlpFrameCountTest,
    ::testing::Values(FrameCountCase {4800, 42}, FrameCountCase {-100, 0}, FrameCountCase {0, 0},
        FrameCountCase {109, 0}, FrameCountCase {219, 0}, FrameCountCase {220, 1}, FrameCountCase {329, 1},
        FrameCountCase {330, 2}, FrameCountCase {33075, 299}));

// Expected deltas rebuilt from the cepstra the front end returned, rule by rule, for utterances with as
// many frames as the edge rules cover (7) and fewer (3, where frames outside read as zero).
class PlpDeltaRuleTest : public ::testing::TestWithParam<int>
{
};

TEST_P(PlpDeltaRuleTest, EdgeRulesAreTakenInOrder)
{
    const int frames = GetParam();
    const int count = 110 * frames + 110;
    const Samples utterance = testaudio::GoldenSignal(count, 1234);
    const std::vector<float> features = ComputePlpFeatures(utterance.data(), count);
    ASSERT_EQ(static_cast<int>(features.size()), frames * kPlpVectorSize);
    for (int n = 0; n < kPlpCepstra; ++n) {
        const auto c = [&](int t) { return t >= 0 && t < frames ? static_cast<double>(At(features, t, n)) : 0.0; };
        std::vector<double> expected(frames);
        for (int t = 0; t < frames; ++t) {
            if (t == 0) {
                expected[t] = 0.25 * c(0);
            } else if (t == 1) {
                expected[t] = 0.25 * (c(2) - c(0));
            } else if (t == 2) {
                expected[t] = 0.25 * (-2 * c(0) - c(1) + c(3) + 2 * c(4));
            } else if (t == frames - 3) {
                expected[t] = 0.25 * (-2 * c(t - 2) - c(t - 1) + c(t + 1) + 2 * c(t + 2));
            } else if (t == frames - 2) {
                expected[t] = 0.25 * (c(t + 1) - c(t - 1));
            } else if (t == frames - 1) {
                expected[t] = 0.25 * c(t);
            } else {
                expected[t] = 0.25 * (-3 * c(t - 3) - 2 * c(t - 2) - c(t - 1) + c(t + 1) + 2 * c(t + 2) + 3 * c(t + 3));
            }
            EXPECT_NEAR(At(features, t, kPlpCepstra + n), expected[t], 1e-5) << "frame " << t << " coefficient " << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, PlpDeltaRuleTest, ::testing::Values(1, 2, 3, 7, 8));

TEST(PlpFrontEndTest, SilentFramesRepeatTheLastFrameAndWarn)
{
    Samples utterance = testaudio::GoldenSignal(110 * 10, 77);
    std::fill(utterance.begin() + 330, utterance.begin() + 660, int16_t {0}); // frames 3 and 4 all zero
    std::vector<std::string> logged;
    const halvox::ScopedLogSink log([&logged](std::string_view line) { logged.emplace_back(line); });
    const std::vector<float> features = ComputePlpFeatures(utterance.data(), static_cast<int>(utterance.size()));
    EXPECT_EQ(logged, std::vector<std::string>(2, "Warning: inaccuracy of calculation -> using last frame"));
    for (int n = 0; n < kPlpCepstra; ++n) {
        EXPECT_EQ(At(features, 3, n), At(features, 2, n));
        EXPECT_EQ(At(features, 4, n), At(features, 2, n));
    }
}

TEST(PlpFrontEndTest, SilenceFromTheStartGivesZerosNotNaN)
{
    const Samples silence(110 * 8, 0);
    const halvox::ScopedLogSink quiet([](std::string_view) {});
    const std::vector<float> features = ComputePlpFeatures(silence.data(), static_cast<int>(silence.size()));
    ASSERT_EQ(features.size(), 7u * kPlpVectorSize);
    for (float value : features) {
        ASSERT_EQ(value, 0.0f);
    }
}

TEST(PlpFrontEndTest, NothingToAnalyseGivesNoRows)
{
    EXPECT_TRUE(ComputePlpFeatures(nullptr, 5000).empty());
    const Samples shortUtterance(219, 100);
    EXPECT_TRUE(ComputePlpFeatures(shortUtterance.data(), 219).empty());
}

// The band tables are built on first use; two threads racing to build them must see the same tables.
TEST(PlpFrontEndTest, ConcurrentCallsAgree)
{
    const Samples utterance = testaudio::GoldenSignal(4000, 5);
    std::vector<float> first;
    std::vector<float> second;
    std::thread a([&] { first = ComputePlpFeatures(utterance.data(), 4000); });
    std::thread b([&] { second = ComputePlpFeatures(utterance.data(), 4000); });
    a.join();
    b.join();
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, ComputePlpFeatures(utterance.data(), 4000));
}

} // namespace
} // namespace halvox
