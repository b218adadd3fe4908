#include "CaptureCodebook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace modelbuild {
namespace {

constexpr int kDim = 2;

std::vector<float> Blob(int count, float spreadX, float spreadY, unsigned seed)
{
    std::mt19937 generator(seed);
    std::normal_distribution<float> x(0.0f, spreadX), y(0.0f, spreadY);
    std::vector<float> frames;
    for (int i = 0; i < count; ++i) {
        frames.push_back(x(generator));
        frames.push_back(y(generator));
    }
    return frames;
}

double WeightedDistance(const float* a, const float* b, const std::vector<float>& weights)
{
    double sum = 0.0;
    for (int d = 0; d < kDim; ++d)
        sum += weights[static_cast<std::size_t>(d)] * (a[d] - b[d]) * (a[d] - b[d]);
    return sum;
}

double Nearest(const float* frame, const std::vector<float>& codewords, const std::vector<float>& weights)
{
    double best = std::numeric_limits<double>::max();
    for (std::size_t j = 0; j < codewords.size(); j += kDim)
        best = std::min(best, WeightedDistance(frame, &codewords[j], weights));
    return best;
}

// The share of frames the engine would put on `own` rather than on `rival` (ours come first and win ties).
double CapturedShare(const std::vector<float>& frames, const std::vector<float>& own, const std::vector<float>& rival,
    const std::vector<float>& weights)
{
    int captured = 0;
    const int count = static_cast<int>(frames.size()) / kDim;
    for (int t = 0; t < count; ++t) {
        const float* frame = &frames[static_cast<std::size_t>(t * kDim)];
        captured += Nearest(frame, own, weights) <= Nearest(frame, rival, weights) ? 1 : 0;
    }
    return static_cast<double>(captured) / count;
}

// The rival: a codebook of a neighbouring cloud that overlaps ours, as the background codewords overlap the
// replayed frames they compete for.
std::vector<float> NeighbourCodebook(float shift)
{
    std::vector<float> frames = Blob(2000, 1.0f, 1.0f, 23);
    for (std::size_t i = 0; i < frames.size(); i += kDim)
        frames[i] += shift;
    return BuildLbgCodebook(frames, kDim, 8).codewords;
}

// A ring of rival codewords around the edge of our cloud: frames outside it can never be won, and chasing
// them pulls codewords away from frames already won.
std::vector<float> RivalRing()
{
    std::vector<float> ring;
    for (int k = 0; k < 8; ++k) {
        const double angle = k * 3.14159265358979 / 4.0;
        ring.push_back(static_cast<float>(1.6 * std::cos(angle)));
        ring.push_back(static_cast<float>(0.8 * std::sin(angle)));
    }
    return ring;
}

TEST(CaptureCodebook, TakesFramesFromAnOverlappingRivalInTheWeightedDistance)
{
    const std::vector<float> frames = Blob(2000, 1.0f, 0.5f, 17);
    const Codebook start = BuildLbgCodebook(frames, kDim, 8);
    ASSERT_EQ(start.size, 8);
    const std::vector<float> rival = NeighbourCodebook(1.5f);
    const std::vector<float> weights {0.25f, 4.0f};
    const double before = CapturedShare(frames, start.codewords, rival, weights);
    const Codebook moved = CaptureFromRival(frames, start, rival, weights, 6);
    ASSERT_EQ(moved.size, start.size);
    ASSERT_EQ(moved.codewords.size(), start.codewords.size());
    EXPECT_GT(CapturedShare(frames, moved.codewords, rival, weights), before + 0.03);
    for (float w : moved.weights)
        EXPECT_GT(w, 0.0f);
}

TEST(CaptureCodebook, NeverTakesFewerFramesThanTheStart)
{
    const std::vector<float> frames = Blob(2000, 1.0f, 0.5f, 17);
    const Codebook start = BuildLbgCodebook(frames, kDim, 8);
    for (const std::vector<float>& rival : {RivalRing(), NeighbourCodebook(1.5f)}) {
        for (const std::vector<float>& weights : {std::vector<float> {1.0f, 1.0f}, std::vector<float> {0.25f, 4.0f}}) {
            const double before = CapturedShare(frames, start.codewords, rival, weights);
            const Codebook moved = CaptureFromRival(frames, start, rival, weights, 6);
            EXPECT_GE(CapturedShare(frames, moved.codewords, rival, weights), before);
        }
    }
}

TEST(CaptureCodebook, NoRoundsKeepsTheCodewordsAndMeasuresTheirWeights)
{
    const std::vector<float> frames = Blob(500, 1.0f, 1.0f, 3);
    const Codebook start = BuildLbgCodebook(frames, kDim, 4);
    const Codebook same = CaptureFromRival(frames, start, RivalRing(), {1.0f, 1.0f}, 0);
    EXPECT_EQ(same.codewords, start.codewords);
    ASSERT_EQ(same.weights.size(), start.weights.size());
    for (std::size_t j = 0; j < same.weights.size(); ++j)
        EXPECT_NEAR(same.weights[j], start.weights[j], 1e-4 * start.weights[j]);
}

TEST(CaptureCodebook, SameInputGivesIdenticalCodebooksAndUnfitSizesGiveNone)
{
    const std::vector<float> frames = Blob(800, 1.0f, 0.5f, 5);
    const Codebook start = BuildLbgCodebook(frames, kDim, 8);
    const Codebook a = CaptureFromRival(frames, start, RivalRing(), {1.0f, 2.0f}, 4);
    const Codebook b = CaptureFromRival(frames, start, RivalRing(), {1.0f, 2.0f}, 4);
    EXPECT_EQ(a.codewords, b.codewords);
    EXPECT_EQ(a.weights, b.weights);

    EXPECT_EQ(CaptureFromRival(frames, start, RivalRing(), {1.0f}, 4).size, 0); // one weight for two dimensions
    EXPECT_EQ(CaptureFromRival(frames, start, RivalRing(), {1.0f, 0.0f}, 4).size, 0);
    EXPECT_EQ(CaptureFromRival(frames, start, {1.0f, 2.0f, 3.0f}, {1.0f, 1.0f}, 4).size, 0); // not whole codewords
    EXPECT_EQ(CaptureFromRival({}, start, RivalRing(), {1.0f, 1.0f}, 4).size, 0);
    EXPECT_EQ(CaptureFromRival(frames, Codebook {}, RivalRing(), {1.0f, 1.0f}, 4).size, 0);
}

} // namespace
} // namespace modelbuild
