#include "ModelRecipes.h"

#include <gtest/gtest.h>

#include <random>

namespace modelbuild {
namespace {

constexpr int kSegments = kHmmStates;
constexpr int kCodewordsPerSegment = 2;
constexpr int kDim = 2;

// Ten codewords on a line; segment s of a word sounds like codewords 2s and 2s + 1.
Codebook SegmentCodebook()
{
    Codebook codebook;
    codebook.dim = kDim;
    codebook.size = kSegments * kCodewordsPerSegment;
    for (int j = 0; j < codebook.size; ++j) {
        codebook.codewords.push_back(10.0f * static_cast<float>(j));
        codebook.codewords.push_back(0.0f);
        codebook.weights.push_back(1.0f);
    }
    return codebook;
}

// Readings of five segments of random length (4 to 20 frames) in order; one frame in ten lands on a
// codeword of some other segment, as a frame of a badly spoken or noisy reading would.
Sequences SegmentedReadings(int count, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> length(4, 20);
    std::uniform_int_distribution<int> within(0, kCodewordsPerSegment - 1);
    std::uniform_int_distribution<int> anywhere(0, kSegments * kCodewordsPerSegment - 1);
    std::uniform_real_distribution<float> chance(0.0f, 1.0f);
    Sequences readings;
    for (int r = 0; r < count; ++r) {
        std::vector<float> frames;
        for (int s = 0; s < kSegments; ++s) {
            const int frameCount = length(generator);
            for (int t = 0; t < frameCount; ++t) {
                const int codeword
                    = chance(generator) < 0.1f ? anywhere(generator) : s * kCodewordsPerSegment + within(generator);
                frames.push_back(10.0f * static_cast<float>(codeword) + 0.5f * chance(generator));
                frames.push_back(0.0f);
            }
        }
        readings.push_back(std::move(frames));
    }
    return readings;
}

float OwnSegmentShare(const std::vector<float>& b, int state)
{
    const int symbols = kSegments * kCodewordsPerSegment;
    float share = 0.0f;
    for (int k = 0; k < kCodewordsPerSegment; ++k)
        share += b[static_cast<std::size_t>(state * symbols + state * kCodewordsPerSegment + k)];
    return share;
}

// From the segmental start every reading begins in the first state and each state keeps to its own part
// of the word: the left-to-right model the recording check scores against.
TEST(ModelRecipes, SegmentalStartGivesOneStatePerPartOfTheWord)
{
    std::vector<float> pi, a, b;
    ASSERT_TRUE(TrainWordHmm(SegmentedReadings(40, 3), SegmentCodebook(),
        HmmRecipe {halvox::DimensionWeightKind::Unit, HmmStart::Segmental, true}, &pi, &a, &b));
    ASSERT_EQ(pi.size(), static_cast<std::size_t>(kHmmStates));
    EXPECT_GT(pi[0], 0.99f);
    for (int i = 0; i < kHmmStates; ++i) {
        EXPECT_GT(OwnSegmentShare(b, i), 0.8f) << "state " << i;
        for (int j = 0; j < kHmmStates; ++j) {
            if (j != i && j != i + 1) {
                EXPECT_LE(a[static_cast<std::size_t>(i * kHmmStates + j)], 1e-6f) << i << "->" << j;
            }
        }
        // Segments last 12 frames on average: a state stays for about that long.
        if (i + 1 < kHmmStates) {
            EXPECT_NEAR(a[static_cast<std::size_t>(i * kHmmStates + i)], 1.0f - 1.0f / 12.0f, 0.05f);
        }
    }
}

TEST(ModelRecipes, BothStartsAreDeterministic)
{
    const Sequences readings = SegmentedReadings(12, 5);
    for (HmmStart start : {HmmStart::Random, HmmStart::Segmental}) {
        std::vector<float> pi1, a1, b1, pi2, a2, b2;
        ASSERT_TRUE(TrainWordHmm(
            readings, SegmentCodebook(), HmmRecipe {halvox::DimensionWeightKind::Unit, start, false}, &pi1, &a1, &b1));
        ASSERT_TRUE(TrainWordHmm(
            readings, SegmentCodebook(), HmmRecipe {halvox::DimensionWeightKind::Unit, start, false}, &pi2, &a2, &b2));
        EXPECT_EQ(pi1, pi2);
        EXPECT_EQ(a1, a2);
        EXPECT_EQ(b1, b2);
    }
}

TEST(ModelRecipes, ReadingsTooShortToTrainOnAreLeftOutAndNoneLeftFails)
{
    Sequences readings = SegmentedReadings(6, 9);
    readings.push_back({10.0f, 0.0f}); // one frame
    readings.push_back({});
    std::vector<float> pi, a, b;
    EXPECT_TRUE(TrainWordHmm(readings, SegmentCodebook(),
        HmmRecipe {halvox::DimensionWeightKind::Unit, HmmStart::Segmental, false}, &pi, &a, &b));
    const Sequences unusable {{10.0f, 0.0f}, {}};
    EXPECT_FALSE(TrainWordHmm(unusable, SegmentCodebook(),
        HmmRecipe {halvox::DimensionWeightKind::Unit, HmmStart::Segmental, false}, &pi, &a, &b));
}

} // namespace
} // namespace modelbuild
