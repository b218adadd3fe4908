// The gender decision: the status line, the ordering of the combined symbol space (female first, male
// in the upper half), and the file errors that make the decision -1.
#include <gtest/gtest.h>

#include "ProcessScratchFolder.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "EngineContext.h"
#include "GenderDecision.h"
#include "ModelFiles.h"

namespace {

namespace fs = std::filesystem;
using halvox::CodebookModel;
using halvox::FeatureSlot;
using halvox::GenderScores;

constexpr int kDim = 2;
constexpr int kSize = 2;
constexpr int kStates = 2;

// A two-codeword background model around `centre` whose HMM favours its own first symbol.
CodebookModel TinyModel(float centre)
{
    CodebookModel model;
    model.dim = kDim;
    model.codebookSize = kSize;
    model.states = kStates;
    model.symbols = kSize;
    model.mean = {0.0f, 0.0f};
    model.codewords = {centre, centre, centre + 1.0f, centre};
    model.weights = {1.0f, 1.0f};
    model.pi = {1.0f, 0.0f};
    model.a = {0.5f, 0.5f, 0.0f, 1.0f};
    model.b = {0.9f, 0.1f, 0.9f, 0.1f};
    return model;
}

FeatureSlot SlotNear(float centre, int frames)
{
    FeatureSlot slot;
    slot.frameCount = frames;
    for (int t = 0; t < frames; ++t) {
        slot.features.push_back(centre + 0.1f * static_cast<float>(t % 2));
        slot.features.push_back(centre);
    }
    slot.symbols.assign(static_cast<size_t>(frames), -1);
    slot.confidences.assign(static_cast<size_t>(frames), -1.0f);
    return slot;
}

TEST(GenderStatusLine, HasTheExactFormat)
{
    EXPECT_EQ(halvox::GenderStatusLine(1, GenderScores {-2.0, -4.0}), "[Female] : 0.500000 (-2.000000/-4.000000)");
    EXPECT_EQ(halvox::GenderStatusLine(0, GenderScores {-3.0, -1.5}), "[Male] : 2.000000 (-3.000000/-1.500000)");
}

TEST(GenderFromScores, FemaleOnlyWhenTheMaleScoreIsStrictlyLower)
{
    EXPECT_EQ(halvox::GenderFromScores({-5.0, -4.0}), 1);
    EXPECT_EQ(halvox::GenderFromScores({-4.0, -4.0}), 0);
    EXPECT_EQ(halvox::GenderFromScores({-3.0, -4.0}), 0);
}

struct SideCase
{
    const char* name;
    float slotCentre;
    int expectedSex;
    int lowestSymbol; // the half of the combined space the frames fall into
};

std::ostream& operator<<(std::ostream& out, const SideCase& c)
{
    return out << c.name;
}

class ScoreGenderSides : public ::testing::TestWithParam<SideCase>
{
};

INSTANTIATE_TEST_SUITE_P(Halves, ScoreGenderSides,
    ::testing::Values(SideCase {"FemaleFramesFallIntoTheLowerHalf", 0.0f, 1, 0},
        SideCase {"MaleFramesFallIntoTheUpperHalf", 10.0f, 0, kSize}),
    [](const auto& info) { return info.param.name; });

TEST_P(ScoreGenderSides, QuantisesIntoTheSlotAndScoresEachModelOnItsSide)
{
    const SideCase& c = GetParam();
    const CodebookModel male = TinyModel(10.0f);
    const CodebookModel female = TinyModel(0.0f);
    FeatureSlot slot = SlotNear(c.slotCentre, 6);
    const auto scores = halvox::ScoreGender(male, female, kDim, slot);
    ASSERT_TRUE(scores.has_value());
    EXPECT_EQ(halvox::GenderFromScores(*scores), c.expectedSex);
    for (int t = 0; t < 6; ++t) {
        EXPECT_GE(slot.symbols[static_cast<size_t>(t)], c.lowestSymbol);
        EXPECT_LT(slot.symbols[static_cast<size_t>(t)], c.lowestSymbol + kSize);
        EXPECT_GT(slot.confidences[static_cast<size_t>(t)], 0.0f);
    }
    // The other model sees only its floor (log10 1e-6 = -6 per frame) plus its transitions.
    const double other = c.expectedSex == 1 ? scores->male : scores->female;
    EXPECT_LE(other, -6.0);
}

TEST(ScoreGender, RefusesModelsAndSlotsThatDoNotFit)
{
    const CodebookModel male = TinyModel(10.0f);
    const CodebookModel female = TinyModel(0.0f);
    FeatureSlot empty = SlotNear(0.0f, 0);
    EXPECT_FALSE(halvox::ScoreGender(male, female, kDim, empty).has_value());

    FeatureSlot slot = SlotNear(0.0f, 4);
    EXPECT_FALSE(halvox::ScoreGender(male, female, 3, slot).has_value());
    CodebookModel wider = TinyModel(10.0f);
    wider.symbols = kSize + 1;
    EXPECT_FALSE(halvox::ScoreGender(wider, female, kDim, slot).has_value());

    FeatureSlot overstated = SlotNear(0.0f, 4);
    overstated.frameCount = 40; // more frames than the slot holds
    EXPECT_FALSE(halvox::ScoreGender(male, female, kDim, overstated).has_value());
}

class DecideGenderFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = warden::test::ProcessScratchFolder() / "gender-decision";
        fs::remove_all(m_root);
        fs::create_directories(m_root / "word2");
        halvox::CopyText(m_context.folder, (m_root.string() + "/").c_str());
        halvox::CopyText(m_context.wordCode, "abj");
        m_context.featureDim = kDim;
        m_context.codebookSize = kSize;
        m_context.hmmSymbols = kSize;
        m_context.combinedSize = 2 * kSize;
        m_context.hmmStates = kStates;
        halvox::CopyText(m_context.labelText, "stale label");
        halvox::CopyText(m_context.statusText, "stale status");
    }

    void Write(const char* name, const CodebookModel& model)
    {
        ASSERT_EQ(halvox::WriteCodebookModel((m_root / "word2" / name).string(), model), halvox::ModelFileError::None);
    }

    std::string PathOf(const char* name) const { return (m_root / "word2" / name).string(); }

    fs::path m_root;
    halvox::EngineContext m_context;
};

TEST_F(DecideGenderFiles, BothMissingReportsTheMalePath)
{
    FeatureSlot slot = SlotNear(0.0f, 4);
    EXPECT_EQ(halvox::DecideGender(m_context, slot), -1);
    EXPECT_EQ(std::string(m_context.labelText), "[HALVOX] Cannot open file! [" + PathOf("abj_m.bin") + "]");
    EXPECT_STREQ(m_context.statusText, "");
}

TEST_F(DecideGenderFiles, MissingFemaleModelIsReported)
{
    Write("abj_m.bin", TinyModel(10.0f));
    FeatureSlot slot = SlotNear(0.0f, 4);
    EXPECT_EQ(halvox::DecideGender(m_context, slot), -1);
    EXPECT_EQ(std::string(m_context.labelText), "[HALVOX] Cannot open file! [" + PathOf("abj_f.bin") + "]");
}

TEST_F(DecideGenderFiles, TruncatedModelIsUnreadable)
{
    Write("abj_m.bin", TinyModel(10.0f));
    Write("abj_f.bin", TinyModel(0.0f));
    fs::resize_file(PathOf("abj_f.bin"), fs::file_size(PathOf("abj_f.bin")) - 4);
    FeatureSlot slot = SlotNear(0.0f, 4);
    EXPECT_EQ(halvox::DecideGender(m_context, slot), -1);
    EXPECT_EQ(std::string(m_context.labelText), "[HALVOX] Cannot open file! [" + PathOf("abj_f.bin") + "]");
}

TEST_F(DecideGenderFiles, DecisionWritesTheStatusLineAndClearsTheLabel)
{
    Write("abj_m.bin", TinyModel(10.0f));
    Write("abj_f.bin", TinyModel(0.0f));
    FeatureSlot slot = SlotNear(10.0f, 4);
    EXPECT_EQ(halvox::DecideGender(m_context, slot), 0);
    EXPECT_STREQ(m_context.labelText, "");
    EXPECT_EQ(std::string(m_context.statusText).rfind("[Male] : ", 0), 0u) << m_context.statusText;
}

TEST_F(DecideGenderFiles, ModelsOfAnotherSymbolCountAreRefused)
{
    Write("abj_m.bin", TinyModel(10.0f));
    Write("abj_f.bin", TinyModel(0.0f));
    m_context.hmmSymbols = 1; // the files read with one output column no longer cover their codebooks
    FeatureSlot slot = SlotNear(10.0f, 4);
    EXPECT_EQ(halvox::DecideGender(m_context, slot), -1);
    EXPECT_STRNE(m_context.labelText, "");
}

} // namespace
