#include "VectorQuantizer.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

namespace halvox {
namespace {

// Confidence of a frame at weighted distance `distance` from a codeword of weight v.
double ExpectedConfidence(double distance, double v)
{
    return std::exp(-distance / v) / std::sqrt(std::numbers::pi * v);
}

struct Quantized
{
    std::vector<int> symbols;
    std::vector<float> confidences;
};

Quantized QuantizeAll(const VectorQuantizer& quantizer)
{
    Quantized out {std::vector<int>(static_cast<std::size_t>(quantizer.FrameCount()), -1),
        std::vector<float>(static_cast<std::size_t>(quantizer.FrameCount()), -1.0f)};
    EXPECT_TRUE(quantizer.Quantize(out.symbols.data(), out.confidences.data()));
    return out;
}

TEST(VectorQuantizerTest, DefaultWeightsRiseToAboutTenAndAHalfInTheMiddle)
{
    const std::vector<float> weights = MakeDimensionWeights(DimensionWeightKind::Default, 20);
    ASSERT_EQ(weights.size(), 20u);
    EXPECT_FLOAT_EQ(weights[0], 1.0f);
    EXPECT_NEAR(weights[19], 1.0f, 1e-5);
    EXPECT_NEAR(weights[9], 10.467f, 1e-3);
    EXPECT_NEAR(weights[10], weights[9], 1e-5);
    for (int d = 1; d < 10; ++d)
        EXPECT_GT(weights[static_cast<std::size_t>(d)], weights[static_cast<std::size_t>(d - 1)]);
}

TEST(VectorQuantizerTest, RecordingCheckShapesTheDefaultWeights)
{
    const std::vector<float> base = MakeDimensionWeights(DimensionWeightKind::Default, 20);
    const std::vector<float> shaped = MakeDimensionWeights(DimensionWeightKind::RecordingCheck, 20);
    EXPECT_NEAR(shaped[0], 0.4 * base[0], 1e-6);
    EXPECT_FLOAT_EQ(shaped[3], base[3]);
    EXPECT_NEAR(shaped[10], 6.8 * base[10], 1e-5);
    EXPECT_NEAR(shaped[19], 8.8 * base[19], 1e-5);
    EXPECT_EQ(MakeDimensionWeights(DimensionWeightKind::Unit, 3), std::vector<float>(3, 1.0f));
    EXPECT_EQ(MakeDimensionWeights(DimensionWeightKind::Default, 1), std::vector<float>(1, 1.0f));
}

// Values from tests/engine/golden/hmm_golden.py. Codeword weights 0 and 150 stand for 1; the last frame
// lies exactly halfway between codewords 0 and 1.
TEST(VectorQuantizerTest, QuantisesAsTheReferenceDoes)
{
    const std::vector<float> codewords = {0.0f, 0.0f, 0.0f, 0.0f, 1.0f, -0.5f, 0.25f, 2.0f, -1.0f, 0.5f, 0.75f, -2.0f};
    const std::vector<float> weights = {0.0f, 150.0f, 0.5f};
    const std::vector<float> frames
        = {0.1f, 0.2f, -0.1f, 0.05f, 0.9f, -0.4f, 0.3f, 1.7f, -0.7f, 0.4f, 0.5f, -1.5f, 0.5f, -0.25f, 0.125f, 1.0f};
    VectorQuantizer quantizer(4);
    ASSERT_TRUE(quantizer.LoadCodebook(codewords.data(), weights.data(), 3));
    ASSERT_TRUE(quantizer.LoadFrames(frames.data(), 4));
    const Quantized out = QuantizeAll(quantizer);
    EXPECT_EQ(out.symbols, (std::vector<int> {0, 1, 2, 0}));
    const std::vector<double> expected
        = {0.4966762661933899, 0.49603793025016785, 0.2896297574043274, 0.13506795465946198};
    for (std::size_t t = 0; t < expected.size(); ++t)
        EXPECT_NEAR(out.confidences[t], expected[t], 1e-5 * expected[t]) << "frame " << t;
}

struct WeightCase
{
    float stored;
    double used;
};

class CodewordWeightTest : public ::testing::TestWithParam<WeightCase>
{
};

TEST_P(CodewordWeightTest, ConfidenceUsesTheSubstitutedWeight)
{
    const std::vector<float> codeword = {0.0f, 0.0f};
    const std::vector<float> frame = {1.0f, 0.0f}; // unit weights: distance 1
    VectorQuantizer quantizer(2);
    quantizer.UseDimensionWeights(DimensionWeightKind::Unit);
    ASSERT_TRUE(quantizer.LoadCodebook(codeword.data(), &GetParam().stored, 1));
    ASSERT_TRUE(quantizer.LoadFrames(frame.data(), 1));
    const Quantized out = QuantizeAll(quantizer);
    EXPECT_NEAR(out.confidences[0], ExpectedConfidence(1.0, GetParam().used), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Weights, CodewordWeightTest,
    ::testing::Values(WeightCase {0.0f, 1.0}, WeightCase {150.0f, 1.0}, WeightCase {100.0f, 100.0},
        WeightCase {0.5f, 0.5}, WeightCase {-2.0f, 1.0}, WeightCase {std::numeric_limits<float>::quiet_NaN(), 1.0}));

TEST(VectorQuantizerTest, EqualDistancesGoToTheLowerIndex)
{
    const std::vector<float> codewords = {1.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
    const std::vector<float> weights = {1.0f, 1.0f, 1.0f};
    const std::vector<float> frame = {0.0f, 0.0f};
    VectorQuantizer quantizer(2);
    ASSERT_TRUE(quantizer.LoadCodebook(codewords.data(), weights.data(), 3));
    ASSERT_TRUE(quantizer.LoadFrames(frame.data(), 1));
    EXPECT_EQ(QuantizeAll(quantizer).symbols[0], 0);
}

TEST(VectorQuantizerTest, FrameWithoutAFiniteDistanceGetsSymbolZeroAndNoConfidence)
{
    const std::vector<float> codewords = {1.0f, 0.0f, -1.0f, 0.0f};
    const std::vector<float> weights = {1.0f, 1.0f};
    const std::vector<float> frame = {std::numeric_limits<float>::quiet_NaN(), 0.0f};
    VectorQuantizer quantizer(2);
    ASSERT_TRUE(quantizer.LoadCodebook(codewords.data(), weights.data(), 2));
    ASSERT_TRUE(quantizer.LoadFrames(frame.data(), 1));
    const Quantized out = QuantizeAll(quantizer);
    EXPECT_EQ(out.symbols[0], 0);
    EXPECT_EQ(out.confidences[0], 0.0f);
}

TEST(VectorQuantizerTest, DerivedWeightsAreFrameSpreadOverCodebookSpreadAndAreUsed)
{
    // Frame variances 1 and 4; codebook variances 2 and 0.5; the third dimension never varies in the codebook.
    const std::vector<float> frames = {1.0f, 2.0f, 5.0f, -1.0f, -2.0f, 5.0f};
    const std::vector<float> reference = {0.0f, 1.0f, 3.0f, 2.0f, -1.0f, 3.0f, -2.0f, 0.0f, 3.0f, 0.0f, 0.0f, 3.0f};
    VectorQuantizer quantizer(3);
    ASSERT_TRUE(quantizer.LoadFrames(frames.data(), 2));
    const std::vector<float> weights = quantizer.DeriveDimensionWeights(reference.data(), 4);
    ASSERT_EQ(weights.size(), 3u);
    EXPECT_FLOAT_EQ(weights[0], 0.5f);
    EXPECT_FLOAT_EQ(weights[1], 8.0f);
    EXPECT_FLOAT_EQ(weights[2], 1.0f);
    EXPECT_EQ(quantizer.DimensionWeights(), weights);
}

TEST(VectorQuantizerTest, DerivedWeightsNeedFramesAndAReference)
{
    const std::vector<float> reference = {0.0f, 1.0f};
    VectorQuantizer quantizer(2);
    const std::vector<float> before = quantizer.DimensionWeights();
    EXPECT_TRUE(quantizer.DeriveDimensionWeights(reference.data(), 1).empty());
    ASSERT_TRUE(quantizer.LoadFrames(reference.data(), 1));
    EXPECT_TRUE(quantizer.DeriveDimensionWeights(reference.data(), 0).empty());
    EXPECT_EQ(quantizer.DimensionWeights(), before);
}

TEST(VectorQuantizerTest, NearestCodewordSumAddsTheChosenRanks)
{
    // Squared distances from the origin: 9, 1, 4, 16 -> sorted 1, 4, 9, 16.
    const std::vector<float> codebook = {3.0f, 0.0f, 0.0f, 1.0f, 2.0f, 0.0f, 0.0f, -4.0f};
    const std::vector<float> origin = {0.0f, 0.0f};
    EXPECT_DOUBLE_EQ(VectorQuantizer::NearestCodewordSum(origin.data(), codebook.data(), 4, 2, 0, 3), 14.0);
    EXPECT_DOUBLE_EQ(VectorQuantizer::NearestCodewordSum(origin.data(), codebook.data(), 4, 2, 1, 4), 29.0);
    EXPECT_DOUBLE_EQ(VectorQuantizer::NearestCodewordSum(origin.data(), codebook.data(), 4, 2, 2, 9), 25.0);
    EXPECT_DOUBLE_EQ(VectorQuantizer::NearestCodewordSum(origin.data(), codebook.data(), 4, 2, 3, 3), 0.0);
}

TEST(VectorQuantizerTest, NearestCodewordSumSurvivesNotANumberCodewords)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> codebook;
    for (int j = 0; j < 40; ++j)
        codebook.push_back(j % 3 == 0 ? nan : static_cast<float>(j));
    const float origin = 0.0f;
    EXPECT_DOUBLE_EQ(VectorQuantizer::NearestCodewordSum(&origin, codebook.data(), 40, 1, 0, 2), 1.0 + 4.0);
}

TEST(VectorQuantizerTest, RefusesBadSizes)
{
    const std::vector<float> values(8, 0.0f);
    VectorQuantizer quantizer(2);
    EXPECT_FALSE(quantizer.LoadFrames(values.data(), -1));
    EXPECT_FALSE(quantizer.LoadFrames(nullptr, 2));
    EXPECT_FALSE(quantizer.LoadCodebook(values.data(), values.data(), 0));
    EXPECT_FALSE(quantizer.LoadCodebook(values.data(), nullptr, 2));
    ASSERT_TRUE(quantizer.LoadFrames(values.data(), 2));
    int symbols[2];
    float confidences[2];
    EXPECT_FALSE(quantizer.Quantize(symbols, confidences)); // no codebook yet

    VectorQuantizer unusable(0);
    EXPECT_FALSE(unusable.LoadFrames(values.data(), 1));
    EXPECT_FALSE(unusable.LoadCodebook(values.data(), values.data(), 1));
    EXPECT_FALSE(unusable.UseGivenDimensionWeights(values.data()));
}

} // namespace
} // namespace halvox
