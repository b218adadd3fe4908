// The codebook builder: pruning by member count, growth by splitting, the split rule itself and the
// on-line adaptation after an accepted verification.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CodebookTrainer.h"

namespace {

using halvox::CodebookTrainer;
using halvox::SplitCodeword;
using halvox::TrainedCodebook;

constexpr int kDim = 2;

// count points alternating at (x - 1, y) and (x + 1, y), so each group has a spread of exactly 1.
void AddPair(std::vector<float>* vectors, float x, float y, int count)
{
    for (int i = 0; i < count; ++i) {
        vectors->push_back(x + ((i % 2 == 0) ? -1.0f : 1.0f));
        vectors->push_back(y);
    }
}

TrainedCodebook TrainOn(
    const std::vector<float>& vectors, const std::vector<float>& initial, float referenceWeight, int totalFrames)
{
    CodebookTrainer trainer(kDim);
    const int count = static_cast<int>(vectors.size() / kDim);
    const int size = static_cast<int>(initial.size() / kDim);
    const std::vector<float> weights(static_cast<size_t>(size), referenceWeight);
    EXPECT_TRUE(trainer.AddVectors(vectors.data(), count));
    EXPECT_TRUE(trainer.SetReference(initial.data(), weights.data(), size));
    EXPECT_TRUE(trainer.SetInitial(initial.data(), size));
    EXPECT_TRUE(trainer.Train(totalFrames));
    return trainer.Finish();
}

struct PruningCase
{
    int totalFrames;
    int smallGroup;
    int expectedSize;
};

class CodebookPruning : public ::testing::TestWithParam<PruningCase>
{
};

// A codeword survives with trunc(totalFrames / 60) members; the growth limit is set out of reach so that
// only pruning decides the size.
TEST_P(CodebookPruning, KeepsCodewordsWithAtLeastTheTruncatedShare)
{
    const PruningCase c = GetParam();
    std::vector<float> vectors;
    AddPair(&vectors, 0.0f, 0.0f, 20);
    AddPair(&vectors, 100.0f, 0.0f, c.smallGroup);
    const std::vector<float> initial {0.0f, 0.0f, 100.0f, 0.0f};
    const TrainedCodebook result = TrainOn(vectors, initial, 1e9f, c.totalFrames);
    ASSERT_EQ(result.size, c.expectedSize);
    if (c.expectedSize == 1) {
        // Every frame now belongs to the one codeword left, which sits at their mean.
        double sum = 0.0;
        for (size_t i = 0; i < vectors.size(); i += kDim)
            sum += vectors[i];
        EXPECT_NEAR(result.codewords[0], sum / static_cast<double>(vectors.size() / kDim), 1e-4);
    } else {
        EXPECT_FLOAT_EQ(result.codewords[2], 100.0f);
        EXPECT_FLOAT_EQ(result.weights[1], 1.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(Thresholds, CodebookPruning,
    ::testing::Values(
        PruningCase {600, 10, 2}, PruningCase {600, 9, 1}, PruningCase {659, 10, 2}, PruningCase {660, 10, 1}));

TEST(CodebookTrainer, WithoutPruningDropsOnlyEmptyAndSingleMemberCodewords)
{
    std::vector<float> vectors;
    AddPair(&vectors, 0.0f, 0.0f, 4);
    AddPair(&vectors, 50.0f, 0.0f, 1); // a single member: no spread
    const std::vector<float> initial {0.0f, 0.0f, 50.0f, 0.0f, -80.0f, 0.0f};
    const TrainedCodebook result = TrainOn(vectors, initial, 1.0f, 0);
    ASSERT_EQ(result.size, 1);
    EXPECT_FLOAT_EQ(result.codewords[0], 0.0f);
    EXPECT_FLOAT_EQ(result.weights[0], 1.0f);
}

TEST(CodebookTrainer, GrowsBySplittingTheWidestCodewordUntilItIsNarrowEnough)
{
    std::vector<float> vectors;
    AddPair(&vectors, 100.0f, 0.0f, 20);
    AddPair(&vectors, 110.0f, 0.0f, 20);
    // Two starting codewords far from everything: they win no frames and are pruned, which leaves one
    // codeword with a spread of 26 against a growth limit of 0.7 x 2.
    const std::vector<float> initial {105.0f, 0.0f, 500.0f, 500.0f, -500.0f, 500.0f};
    const TrainedCodebook result = TrainOn(vectors, initial, 2.0f, 60);
    ASSERT_EQ(result.size, 2);
    EXPECT_FLOAT_EQ(result.codewords[0] + result.codewords[2], 210.0f);
    EXPECT_NEAR(std::abs(result.codewords[0] - result.codewords[2]), 10.0, 1e-6);
    EXPECT_FLOAT_EQ(result.weights[0], 1.0f);
    EXPECT_FLOAT_EQ(result.weights[1], 1.0f);
}

TEST(CodebookTrainer, RebuildsFromTheBestPopulatedCodewordWhenEveryCodewordIsPruned)
{
    std::vector<float> vectors;
    AddPair(&vectors, 0.0f, 0.0f, 4);
    AddPair(&vectors, 20.0f, 0.0f, 2);
    AddPair(&vectors, 40.0f, 0.0f, 2);
    const std::vector<float> initial {0.0f, 0.0f, 20.0f, 0.0f, 40.0f, 0.0f};
    // 600 frames call for 10 members each: nobody qualifies.
    const TrainedCodebook result = TrainOn(vectors, initial, 2.0f, 600);
    ASSERT_EQ(result.size, 3);
    EXPECT_FLOAT_EQ(result.weights[0], 1.0f);
}

TEST(CodebookTrainer, RefusesToTrainWithoutVectorsOrReference)
{
    CodebookTrainer trainer(kDim);
    const std::vector<float> codeword {1.0f, 2.0f};
    EXPECT_FALSE(trainer.Train(10));
    ASSERT_TRUE(trainer.SetInitial(codeword.data(), 1));
    EXPECT_FALSE(trainer.Train(10));
    EXPECT_FALSE(trainer.AddVectors(nullptr, 3));
    EXPECT_EQ(trainer.Finish().size, 0);
}

TEST(CodewordSplit, IdenticalMembersNudgeTheCodewordDownAndUp)
{
    const std::vector<double> codeword {2.0, -4.0};
    const std::vector<double> member {2.0, -4.0};
    const auto halves = SplitCodeword(codeword, {member.data(), member.data(), member.data()}, kDim);
    EXPECT_EQ(halves.kept[0], 2.0 * 0.999999999999);
    EXPECT_EQ(halves.kept[1], -4.0 * 0.999999999999);
    EXPECT_EQ(halves.added[0], 2.0 * 1.000000000001);
    EXPECT_EQ(halves.added[1], -4.0 * 1.000000000001);
    EXPECT_NE(halves.kept[0], halves.added[0]);
}

TEST(CodewordSplit, MovesTowardsTheTwoExtremeMembers)
{
    const std::vector<double> near {0.0, 0.0};
    const std::vector<double> middle {1.0, 0.0};
    const std::vector<double> far {4.0, 0.0};
    const std::vector<double> codeword {5.0 / 3.0, 0.0};
    // p = the member farthest from the codeword (4, 0); q = the member farthest from p (0, 0).
    const auto halves = SplitCodeword(codeword, {near.data(), middle.data(), far.data()}, kDim);
    EXPECT_DOUBLE_EQ(halves.kept[0], 0.8 * 5.0 / 3.0);
    EXPECT_DOUBLE_EQ(halves.added[0], 0.8 * 5.0 / 3.0 + 0.8);
}

TEST(CodewordSplit, ACodewordWithoutMembersIsCopied)
{
    const std::vector<double> codeword {1.5, 2.5};
    const auto halves = SplitCodeword(codeword, {}, kDim);
    EXPECT_EQ(halves.kept, codeword);
    EXPECT_EQ(halves.added, codeword);
}

class CodebookAdaptation : public ::testing::Test
{
protected:
    // Reference mean weight 1: a vector joins a codeword within a squared distance of 1.8.
    TrainedCodebook Adapt(const std::vector<float>& vectors, const std::vector<float>& codewords,
        const std::vector<float>& weights, int referenceSize = 4)
    {
        CodebookTrainer trainer(kDim);
        const std::vector<float> reference(static_cast<size_t>(referenceSize) * kDim, 0.0f);
        const std::vector<float> referenceWeights(static_cast<size_t>(referenceSize), 1.0f);
        EXPECT_TRUE(trainer.AddVectors(vectors.data(), static_cast<int>(vectors.size() / kDim)));
        EXPECT_TRUE(trainer.SetReference(reference.data(), referenceWeights.data(), referenceSize));
        TrainedCodebook adapted;
        EXPECT_TRUE(trainer.Adapt(codewords.data(), weights.data(), static_cast<int>(weights.size()), &adapted));
        return adapted;
    }
};

TEST_F(CodebookAdaptation, BlendsExistingCodewordsByTheirShareOfTheReading)
{
    // Two vectors join codeword 0; (10, 0) and (10, 1) open and join a new codeword; (30, 0) opens another
    // that keeps a single member and is dropped.
    const std::vector<float> vectors {0.5f, 0.0f, 0.5f, 0.0f, 10.0f, 0.0f, 10.0f, 1.0f, 30.0f, 0.0f};
    const TrainedCodebook adapted = Adapt(vectors, {0.0f, 1.0f}, {1.0f});
    ASSERT_EQ(adapted.size, 2);
    // Share 2/5 of mean 0.5; the mean's second component is 0, so that component stays at 1.
    EXPECT_FLOAT_EQ(adapted.codewords[0], 0.4f * 0.5f);
    EXPECT_FLOAT_EQ(adapted.codewords[1], 1.0f);
    // Distances were 1.25 each when the vectors joined: (2/5) x 1.25 + (3/5) x 1.
    EXPECT_FLOAT_EQ(adapted.weights[0], 0.4f * 1.25f + 0.6f);
    // The new codeword is its members' mean; its first member counts distance 0, the second 1.
    EXPECT_FLOAT_EQ(adapted.codewords[2], 10.0f);
    EXPECT_FLOAT_EQ(adapted.codewords[3], 0.5f);
    EXPECT_FLOAT_EQ(adapted.weights[1], 0.5f);
}

TEST_F(CodebookAdaptation, KeepsOldCodewordsEvenWithoutMembersOrWeight)
{
    const std::vector<float> vectors {0.0f, 0.0f, 0.0f, 1.0f};
    const TrainedCodebook adapted = Adapt(vectors, {0.0f, 0.5f, 50.0f, 50.0f, 80.0f, 80.0f}, {2.0f, 4.0f, 0.0f});
    ASSERT_EQ(adapted.size, 3);
    EXPECT_FLOAT_EQ(adapted.codewords[2], 50.0f);
    EXPECT_FLOAT_EQ(adapted.weights[1], 0.5f * 4.0f); // (1 - 1/n) x old with n = 2
    EXPECT_FLOAT_EQ(adapted.weights[2], 0.0f);
}

TEST_F(CodebookAdaptation, LeavesFarVectorsUnassignedOnceTheCodebookIsFull)
{
    // Room for two codewords: (40, 0) opens the second, (80, 0) finds no room and changes nothing.
    const std::vector<float> vectors {0.0f, 0.0f, 40.0f, 0.0f, 40.0f, 1.0f, 80.0f, 0.0f};
    const TrainedCodebook adapted = Adapt(vectors, {0.0f, 0.0f}, {1.0f}, 2);
    ASSERT_EQ(adapted.size, 2);
    EXPECT_FLOAT_EQ(adapted.codewords[2], 40.0f);
    EXPECT_FLOAT_EQ(adapted.codewords[3], 0.5f);
}

} // namespace
