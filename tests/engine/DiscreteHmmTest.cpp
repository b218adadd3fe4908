#include "DiscreteHmm.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace halvox {
namespace {

// Reference values in this file come from tests/engine/golden/hmm_golden.py, which enumerates every
// state path instead of running recursions.

void ExpectNear(
    const std::vector<double>& actual, const std::vector<double>& expected, double tolerance, const char* what)
{
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << what << "[" << i << "]";
}

HmmParameters TinyLeftToRightModel()
{
    HmmParameters model;
    model.states = 3;
    model.symbols = 4;
    model.pi = {0.6, 0.3, 0.1};
    model.a = {0.5, 0.5, 0.0, 0.0, 0.8, 0.2, 0.0, 0.0, 1.0};
    model.b = {0.4, 0.3, 0.2, 0.1, 0.1, 0.5, 0.3, 0.1, 0.2, 0.1, 0.3, 0.4};
    return model;
}

class TinyTrainingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_hmm.SetModel(TinyLeftToRightModel()));
        ASSERT_TRUE(m_hmm.AddTrainingSequence(m_first.data(), m_firstConfidences.data(), 5));
        ASSERT_TRUE(m_hmm.AddTrainingSequence(m_second.data(), m_secondConfidences.data(), 6));
    }

    DiscreteHmm m_hmm {3, 4};
    std::vector<int> m_first = {0, 1, 1, 2, 3};
    std::vector<float> m_firstConfidences = {0.5f, 1.0f, 0.25f, 1e-7f, 0.75f}; // 1e-7 falls to the 1e-5 floor
    std::vector<int> m_second = {0, 0, 1, 2, 3, 3};
    std::vector<float> m_secondConfidences = {2.0f, 1.0f, 0.5f, 2.0f, 0.1f, 1.5f};
};

TEST_F(TinyTrainingTest, OneSequenceReestimateMatchesPathEnumeration)
{
    HmmParameters estimate;
    ASSERT_TRUE(m_hmm.ReestimateSequence(0, &estimate));
    ExpectNear(estimate.pi, {0.8690902735296686, 0.12217075941623701, 0.008738967054094207}, 1e-9, "pi");
    ExpectNear(estimate.a,
        {0.29967948717948717, 0.7003205128205128, 0.0, 0.0, 0.6993313350242104, 0.3006686649757897, 0.0, 0.0, 1.0},
        1e-9, "a");
    ExpectNear(estimate.b,
        {0.3410327756529896, 0.22606976198230935, 1.1388819963557078e-06, 0.027814581865493467, 0.016488717539340184,
            0.2515626049609631, 2.398557515773913e-06, 0.2896527126199504, 0.0011426501561887892, 0.007821296834143811,
            1.951453143074023e-06, 0.6522175989340759},
        1e-11, "b");
}

TEST_F(TinyTrainingTest, TrainingPassAveragesRenormalisesUnequalLengthsAndReportsTheChange)
{
    std::vector<std::pair<int, double>> passes;
    m_hmm.SetPassObserver([&](int pass, double change) { passes.emplace_back(pass, change); });
    EXPECT_EQ(m_hmm.Train(1000.0), 1);
    ASSERT_EQ(passes.size(), 1u);
    EXPECT_EQ(passes[0].first, 1);
    EXPECT_NEAR(passes[0].second, 3.444042089225884, 1e-9);
    ExpectNear(m_hmm.Model().pi, {0.8834490528176744, 0.09121982764151082, 0.02533111954081471}, 1e-9, "pi");
    ExpectNear(m_hmm.Model().a,
        {0.38870699567483746, 0.6112930043251625, 0.0, 0.0, 0.6108735171527906, 0.38912648284720935, 0.0, 0.0, 1.0},
        1e-9, "a");
    ExpectNear(m_hmm.Model().b,
        {0.7842649969183586, 0.18198673606790558, 0.00883068218920819, 0.024917584824527647, 0.10348265213441592,
            0.3145479827804911, 0.22743095123911228, 0.3545384138459806, 0.01316906398773582, 0.00980741569348928,
            0.0811570785946342, 0.8958664417241408},
        1e-9, "b");
}

TEST_F(TinyTrainingTest, ReestimationFloorsVisitedEntriesInTheModelItself)
{
    HmmParameters model = TinyLeftToRightModel();
    model.a[1] = 0.0; // allowed transition 0 -> 1
    model.b[4 * 2 + 1] = 0.0; // state 2, symbol 1: observed at frame 1 of the first sequence
    ASSERT_TRUE(m_hmm.SetModel(model));
    HmmParameters estimate;
    ASSERT_TRUE(m_hmm.ReestimateSequence(0, &estimate));
    EXPECT_EQ(m_hmm.Model().a[1], DiscreteHmm::kProbabilityFloor);
    EXPECT_EQ(m_hmm.Model().b[4 * 2 + 1], DiscreteHmm::kProbabilityFloor);
    EXPECT_EQ(m_hmm.Model().a[2], 0.0); // a disallowed transition is left alone
}

TEST_F(TinyTrainingTest, ConvergenceThresholdStopsTraining)
{
    std::vector<double> changes;
    m_hmm.SetPassObserver([&](int, double change) { changes.push_back(change); });
    const int passes = m_hmm.Train(1e-3);
    ASSERT_GE(passes, 2);
    ASSERT_EQ(changes.size(), static_cast<std::size_t>(passes));
    EXPECT_LE(changes.back(), 1e-3);
    EXPECT_GT(changes[changes.size() - 2], 1e-3);
}

TEST_F(TinyTrainingTest, ThresholdOf99999TrainsNothing)
{
    bool observed = false;
    m_hmm.SetPassObserver([&](int, double) { observed = true; });
    EXPECT_EQ(m_hmm.Train(99999.0), 0);
    EXPECT_FALSE(observed);
    EXPECT_EQ(m_hmm.Model().b, TinyLeftToRightModel().b);
}

TEST(DiscreteHmmTest, EqualLengthsKeepTheAveragedOutputRows)
{
    const std::vector<int> first = {0, 1, 1, 2, 3};
    const std::vector<int> second = {0, 0, 1, 3, 3};
    const std::vector<float> confidences = {0.3f, 1.0f, 0.2f, 0.6f, 0.9f};
    DiscreteHmm hmm(3, 4);
    ASSERT_TRUE(hmm.SetModel(TinyLeftToRightModel()));
    ASSERT_TRUE(hmm.AddTrainingSequence(first.data(), confidences.data(), 5));
    ASSERT_TRUE(hmm.AddTrainingSequence(second.data(), confidences.data(), 5));
    HmmParameters estimate;
    ASSERT_TRUE(hmm.ReestimateAverage(&estimate));
    double rowSum = 0.0;
    for (int k = 0; k < 4; ++k)
        rowSum += estimate.b[static_cast<std::size_t>(k)];
    // Confidences below 1 keep the row short of 1 unless it is renormalised.
    EXPECT_LT(rowSum, 0.99);
}

TEST(DiscreteHmmTest, InitialModelComesFromTheReseededGenerator)
{
    DiscreteHmm hmm(3, 4);
    hmm.InitialiseRandom();
    ExpectNear(hmm.Model().pi, {1.0 / 3, 1.0 / 3, 1.0 / 3}, 1e-15, "pi");
    ExpectNear(hmm.Model().a,
        {0.0011597033600878933, 0.9988402966399121, 0.0, 0.0, 0.23557237464522232, 0.7644276253547777, 0.0, 0.0, 1.0},
        1e-15, "a");
    ExpectNear(hmm.Model().b,
        {0.4791210774471541, 0.054977778780427276, 0.1997653800166941, 0.2661357637557245, 0.10237174466418641,
            0.3951072057959663, 0.12788819267671822, 0.374632856863129, 0.16545115332428767, 0.7943238353686116,
            0.03228177295341475, 0.007943238353686115},
        1e-15, "b");
}

class FiveStateTrainingTest : public ::testing::Test
{
protected:
    static constexpr int kStates = 5;
    static constexpr int kSymbols = 16;

    // Three utterance-like sequences that walk through the symbols, of different lengths.
    static void AddSequences(DiscreteHmm* hmm)
    {
        for (int r = 0; r < 3; ++r) {
            std::vector<int> symbols;
            std::vector<float> confidences;
            const int length = 40 + 7 * r;
            for (int t = 0; t < length; ++t) {
                symbols.push_back((t * kSymbols / length + (t % 3 == r ? 1 : 0)) % kSymbols);
                confidences.push_back(0.05f + static_cast<float>((t * 7 + r) % 11) / 10.0f);
            }
            ASSERT_TRUE(hmm->AddTrainingSequence(symbols.data(), confidences.data(), length));
        }
    }

    struct Exported
    {
        std::vector<float> pi = std::vector<float>(kStates);
        std::vector<float> a = std::vector<float>(kStates * kStates);
        std::vector<float> b = std::vector<float>(kStates * kSymbols);
    };

    static Exported TrainAndExport()
    {
        DiscreteHmm hmm(kStates, kSymbols);
        AddSequences(&hmm);
        hmm.InitialiseRandom();
        EXPECT_GT(hmm.Train(0.0005), 0);
        Exported out;
        hmm.Export(out.pi.data(), out.a.data(), out.b.data());
        return out;
    }
};

TEST_F(FiveStateTrainingTest, TwoTrainingsGiveIdenticalModels)
{
    const Exported first = TrainAndExport();
    const Exported second = TrainAndExport();
    EXPECT_EQ(std::memcmp(first.pi.data(), second.pi.data(), first.pi.size() * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(first.a.data(), second.a.data(), first.a.size() * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(first.b.data(), second.b.data(), first.b.size() * sizeof(float)), 0);
}

TEST_F(FiveStateTrainingTest, ExportedTransitionsNeverFallBelowTheFloor)
{
    const Exported model = TrainAndExport();
    for (int i = 0; i < kStates; ++i) {
        for (int j = 0; j < kStates; ++j) {
            const float value = model.a[static_cast<std::size_t>(i * kStates + j)];
            EXPECT_GE(value, 1e-6f);
            if (j < i || j > i + 1) {
                EXPECT_EQ(value, 1e-6f) << i << "->" << j;
            }
        }
    }
}

TEST(DiscreteHmmScoreTest, ViterbiScoreMatchesPathEnumeration)
{
    const std::vector<float> pi = {0.7f, 0.2f, 0.1f};
    const std::vector<float> a = {0.6f, 0.4f, 1e-6f, 1e-6f, 0.7f, 0.3f, 1e-6f, 1e-6f, 1.0f};
    const std::vector<float> b = {0.5f, 0.3f, 0.1f, 0.1f, 0.1f, 0.2f, 0.6f, 0.1f, 0.25f, 0.05f, 0.1f, 0.6f};
    DiscreteHmm all(3, 4);
    ASSERT_TRUE(all.LoadStoredModel(pi.data(), a.data(), b.data(), 4, SymbolSide::All));
    const std::vector<int> sequence = {0, 1, 2, 2, 3, 3};
    EXPECT_NEAR(all.Score(sequence.data(), 6).value(), -0.5272958417448782, 1e-6);
    // Scoring leaves the model as loaded, so a second score agrees.
    EXPECT_NEAR(all.Score(sequence.data(), 6).value(), -0.5272958417448782, 1e-6);

    DiscreteHmm upper(3, 6);
    ASSERT_TRUE(upper.LoadStoredModel(pi.data(), a.data(), b.data(), 4, SymbolSide::Upper));
    const std::vector<int> mixed = {0, 3, 4, 1, 5, 5};
    EXPECT_NEAR(upper.Score(mixed.data(), 6).value(), -2.4143323925107514, 1e-6);
}

TEST(DiscreteHmmScoreTest, UpperSideGivesOtherModelsSymbolsMinusSixEverywhere)
{
    constexpr int kOwn = 128;
    constexpr int kStates = 5;
    std::vector<float> pi(kStates, 0.0f);
    pi[0] = 1.0f;
    std::vector<float> a(kStates * kStates, 1e-6f);
    for (int i = 0; i < kStates; ++i)
        a[static_cast<std::size_t>(i * kStates + i)] = 1.0f;
    const std::vector<float> b(kStates * kOwn, 1.0f / kOwn);
    DiscreteHmm hmm(kStates, 2 * kOwn);
    ASSERT_TRUE(hmm.LoadStoredModel(pi.data(), a.data(), b.data(), kOwn, SymbolSide::Upper));
    for (int i = 0; i < kStates; ++i)
        for (int j = 0; j < kOwn; ++j)
            ASSERT_EQ(hmm.Model().b[static_cast<std::size_t>(i * 2 * kOwn + j)], 1e-6);
    const std::vector<int> low = {0, 17, 127, 64, 3};
    EXPECT_NEAR(hmm.Score(low.data(), 5).value(), -6.0, 1e-9);

    DiscreteHmm lower(kStates, 2 * kOwn);
    ASSERT_TRUE(lower.LoadStoredModel(pi.data(), a.data(), b.data(), kOwn, SymbolSide::Lower));
    const std::vector<int> high = {128, 255, 200};
    EXPECT_NEAR(lower.Score(high.data(), 3).value(), -6.0, 1e-9);
}

TEST(DiscreteHmmTest, RefusesInputOutsideItsSymbols)
{
    DiscreteHmm hmm(3, 4);
    const std::vector<float> confidences = {1.0f, 1.0f, 1.0f};
    const std::vector<float> zero = {0.0f, 0.0f, 0.0f};
    const std::vector<float> nan = {1.0f, std::numeric_limits<float>::quiet_NaN(), 1.0f};
    const std::vector<int> outside = {0, 4, 1};
    const std::vector<int> negative = {0, -1, 1};
    const std::vector<int> good = {0, 1, 2};
    EXPECT_FALSE(hmm.AddTrainingSequence(outside.data(), confidences.data(), 3));
    EXPECT_FALSE(hmm.AddTrainingSequence(negative.data(), confidences.data(), 3));
    EXPECT_FALSE(hmm.AddTrainingSequence(good.data(), confidences.data(), 1));
    EXPECT_FALSE(hmm.AddTrainingSequence(good.data(), zero.data(), 3));
    EXPECT_FALSE(hmm.AddTrainingSequence(good.data(), nan.data(), 3));
    EXPECT_EQ(hmm.SequenceCount(), 0);
    EXPECT_EQ(hmm.Train(0.0005), -1);
    hmm.InitialiseRandom();
    EXPECT_FALSE(hmm.Score(outside.data(), 3).has_value());
    EXPECT_FALSE(hmm.Score(good.data(), 0).has_value());
    EXPECT_TRUE(hmm.Score(good.data(), 3).has_value());

    const std::vector<float> stored(3 * 8, 0.1f);
    EXPECT_FALSE(hmm.LoadStoredModel(stored.data(), stored.data(), stored.data(), 5, SymbolSide::Upper));
    EXPECT_FALSE(hmm.LoadStoredModel(stored.data(), stored.data(), stored.data(), 3, SymbolSide::All));
    EXPECT_FALSE(hmm.LoadStoredModel(stored.data(), stored.data(), stored.data(), 0, SymbolSide::Lower));

    HmmParameters wrongShape = TinyLeftToRightModel();
    wrongShape.symbols = 5;
    EXPECT_FALSE(hmm.SetModel(wrongShape));
    EXPECT_TRUE(std::isnan(hmm.ReplaceModel(wrongShape)));

    DiscreteHmm unusable(0, 4);
    EXPECT_FALSE(unusable.AddTrainingSequence(good.data(), confidences.data(), 3));
    EXPECT_FALSE(unusable.Score(good.data(), 3).has_value());
}

} // namespace
} // namespace halvox
