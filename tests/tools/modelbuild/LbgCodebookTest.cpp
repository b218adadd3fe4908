#include "LbgCodebook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace modelbuild {
namespace {

// Frames drawn around `centres` (dim values each) with a small uniform spread.
std::vector<float> ClusteredFrames(
    const std::vector<std::vector<float>>& centres, int perCentre, float spread, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> jitter(-spread, spread);
    std::vector<float> frames;
    for (int k = 0; k < perCentre; ++k)
        for (const auto& c : centres)
            for (float value : c)
                frames.push_back(value + jitter(generator));
    return frames;
}

std::vector<std::vector<float>> GridCentres(int count, int dim)
{
    std::vector<std::vector<float>> centres;
    for (int j = 0; j < count; ++j) {
        std::vector<float> c(static_cast<std::size_t>(dim), 0.0f);
        c[static_cast<std::size_t>(j % dim)] = 10.0f * static_cast<float>(1 + j / dim);
        centres.push_back(c);
    }
    return centres;
}

class LbgCodebookTest : public ::testing::TestWithParam<int>
{
};

// Well-separated clusters: every cluster gets exactly one codeword at its centre, whatever the size
// (powers of two and sizes reached by a partial last doubling).
TEST_P(LbgCodebookTest, OneCodewordPerSeparatedCluster)
{
    const int size = GetParam();
    const int dim = 3;
    const auto centres = GridCentres(size, dim);
    const std::vector<float> frames = ClusteredFrames(centres, 40, 0.5f, 7);
    const Codebook codebook = BuildLbgCodebook(frames, dim, size);
    ASSERT_EQ(codebook.size, size);
    std::vector<int> hits(static_cast<std::size_t>(size), 0);
    for (const auto& c : centres) {
        double distance = 0.0;
        const int j = NearestCodeword(codebook, c.data(), &distance);
        ASSERT_GE(j, 0);
        EXPECT_LT(distance, 0.1) << "no codeword near a cluster centre";
        ++hits[static_cast<std::size_t>(j)];
    }
    EXPECT_TRUE(std::all_of(hits.begin(), hits.end(), [](int h) { return h == 1; }));
    // Uniform jitter of +-0.5 per dimension: mean squared distance to the centre is 3 * 0.25 / 3 = 0.25.
    for (float w : codebook.weights)
        EXPECT_NEAR(w, 0.25, 0.06);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LbgCodebookTest, ::testing::Values(1, 2, 5, 8, 12, 16));

TEST(LbgCodebook, SameFramesGiveIdenticalCodebooks)
{
    const std::vector<float> frames = ClusteredFrames(GridCentres(20, 4), 30, 3.0f, 11);
    const Codebook a = BuildLbgCodebook(frames, 4, 16);
    const Codebook b = BuildLbgCodebook(frames, 4, 16);
    EXPECT_EQ(a.codewords, b.codewords);
    EXPECT_EQ(a.weights, b.weights);
}

// Heavily duplicated data leaves cells empty after a split; they are re-seeded, so every codeword of the
// result has members (a positive weight) as long as there are enough distinct frames.
TEST(LbgCodebook, NoCodewordIsLeftWithoutMembers)
{
    std::vector<float> frames;
    for (int k = 0; k < 200; ++k)
        frames.push_back(0.0f); // one heavy point
    for (int k = 0; k < 64; ++k)
        frames.push_back(1.0f + static_cast<float>(k) * 0.37f);
    const Codebook codebook = BuildLbgCodebook(frames, 1, 16);
    ASSERT_EQ(codebook.size, 16);
    int withoutMembers = 0;
    for (int t = 0; t < codebook.size; ++t) {
        bool owned = false;
        for (float f : frames)
            owned = owned || NearestCodeword(codebook, &f) == t;
        withoutMembers += owned ? 0 : 1;
    }
    EXPECT_EQ(withoutMembers, 0);
}

TEST(LbgCodebook, RefusesUnusableInput)
{
    const std::vector<float> frames(30, 1.0f);
    EXPECT_EQ(BuildLbgCodebook(frames, 3, 11).size, 0); // 10 frames, 11 codewords
    EXPECT_EQ(BuildLbgCodebook(frames, 7, 2).size, 0); // not whole frames
    EXPECT_EQ(BuildLbgCodebook(frames, 0, 2).size, 0);
    EXPECT_EQ(BuildLbgCodebook({}, 3, 1).size, 0);
}

TEST(LbgCodebook, NearestCodewordOfEmptyCodebook)
{
    const float frame[2] = {0.0f, 0.0f};
    EXPECT_EQ(NearestCodeword(Codebook {}, frame), -1);
}

} // namespace
} // namespace modelbuild
