// The per-reading analysis over a fabricated engine folder: features into the slot, the gender counters,
// the enrolment checks and what verification mode leaves out, and the refusals that keep a misused
// interface inside its buffers. Also prints how often the gender decision and the word check are right
// for talkers the folder was not made from.
#include <gtest/gtest.h>

#include <memory>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "CheckSexSpeech.h"
#include "DtwMatcher.h"
#include "EndpointOperation.h"
#include "EngineContext.h"
#include "EngineFolderFixture.h"
#include "WorkMemoryAccess.h"

namespace {

namespace fs = std::filesystem;
using halvox::EngineContext;
using warden::test::kWordCodes;
using warden::test::TestReading;

constexpr int kCodebookSize = 16;
constexpr int kUnseenMale = 4;
constexpr int kUnseenFemale = 10;

class CheckSexSpeechTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        warden::test::FixtureOptions options;
        options.codebookSize = kCodebookSize;
        options.vocabularyCodebookSize = 16;
        s_scratch = new warden::test::ScratchEngineFolder(options);
        s_folder = new std::string(s_scratch->Path());
        s_ready = s_scratch->Ready();
        if (!s_ready)
            std::fprintf(stderr, "engine folder: %s\n", s_scratch->Error().c_str());
    }

    static void TearDownTestSuite()
    {
        delete s_folder;
        s_folder = nullptr;
        delete s_scratch;
        s_scratch = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_ready);
        UseFolder(*s_folder);
        m_context.codebookSize = kCodebookSize;
        m_context.hmmSymbols = kCodebookSize;
        m_context.combinedSize = 2 * kCodebookSize;
        m_context.maxRepeat = 3;
        m_context.mode = 1;
        halvox::CopyText(m_context.wordCode, "aaj");
    }

    void UseFolder(const std::string& folder) { halvox::CopyText(m_context.folder, (folder + "/").c_str()); }

    // One recording through endpoint detection and then the analysis; -1 when detection refused it.
    int Analyse(const std::vector<int16_t>& reading, int index)
    {
        m_samples.assign(reading.begin(), reading.end());
        const int count = static_cast<int>(m_samples.size());
        if (halvox::GetEndpointShort(m_context, m_samples.data(), count, 1) != 1)
            return -1;
        return halvox::CheckSexSpeech(m_context, m_samples.data(), count, index);
    }

    int Analyse(int voice, int word, int take, int index) { return Analyse(TestReading(voice, word, take), index); }

    // A copy of the engine folder without some of its files.
    std::string PartialFolder(const std::string& /*name*/, const std::vector<std::string>& removed)
    {
        warden::test::FixtureOptions options;
        options.codebookSize = kCodebookSize;
        options.vocabularyCodebookSize = 16;
        m_copies.push_back(std::make_unique<warden::test::ScratchEngineFolder>(options));
        const fs::path copy = m_copies.back()->Path();
        for (const std::string& relative : removed)
            fs::remove_all(copy / relative);
        return copy.string();
    }

    // A copy of the engine folder whose background models also serve the code "aak".
    std::string FolderWithDefaultCode()
    {
        const std::string copy = PartialFolder("check-sex-speech-aak", {});
        for (const char* suffix : {"_m.bin", "_f.bin"})
            fs::copy_file(fs::path(copy) / "word16" / (std::string("aaj") + suffix),
                fs::path(copy) / "word16" / (std::string("aak") + suffix));
        return copy;
    }

    void SameWordFigures();

    std::string Label() const { return m_context.labelText; }

    static std::string* s_folder;
    static warden::test::ScratchEngineFolder* s_scratch;
    static bool s_ready;
    EngineContext m_context;
    std::vector<short> m_samples;
    std::vector<std::unique_ptr<warden::test::ScratchEngineFolder>> m_copies;
};

std::string* CheckSexSpeechTest::s_folder = nullptr;
warden::test::ScratchEngineFolder* CheckSexSpeechTest::s_scratch = nullptr;
bool CheckSexSpeechTest::s_ready = false;

TEST_F(CheckSexSpeechTest, FillsTheSlotAndCountsTheGender)
{
    ASSERT_EQ(Analyse(kUnseenMale, 0, 0, 0), 1) << Label();
    const halvox::FeatureSlot& slot = m_context.work->slots[0];
    EXPECT_EQ(slot.frameCount, m_context.endFrame - m_context.startFrame);
    EXPECT_EQ(m_context.sex, 0);
    EXPECT_EQ(m_context.maleCount, 1);
    EXPECT_EQ(m_context.femaleCount, 0);
    EXPECT_STREQ(m_context.labelText, "");
    EXPECT_EQ(std::string(m_context.statusText).rfind("[Male] : ", 0), 0u) << m_context.statusText;
    const auto& gender = m_context.decisions.gender;
    ASSERT_TRUE(gender.has_value());
    EXPECT_EQ(gender->sex, 0);
    EXPECT_GE(gender->scores.male, gender->scores.female); // the male model explains the reading at least as well
    EXPECT_EQ(m_context.decisions.wordRecognised, std::optional<bool>(true)); // the word check is on by default
    for (int t = 0; t < slot.frameCount; ++t)
        ASSERT_LT(slot.symbols[static_cast<size_t>(t)], 2 * kCodebookSize);
}

TEST_F(CheckSexSpeechTest, AuxiliaryVectorIsZeroedForEveryReading)
{
    m_context.mode = 2;
    ASSERT_EQ(Analyse(kUnseenFemale, 0, 0, 0), 1) << Label();
    std::vector<float>& auxiliary = m_context.work->slots[0].auxiliary;
    std::fill(auxiliary.begin(), auxiliary.end(), 7.0f);
    ASSERT_EQ(Analyse(kUnseenFemale, 0, 1, 0), 1) << Label();
    ASSERT_EQ(auxiliary.size(), 20u);
    for (float value : auxiliary)
        EXPECT_EQ(value, 0.0f);
}

TEST_F(CheckSexSpeechTest, CountersFollowTheMajorityAndResetAtIndexZero)
{
    m_context.sameWordThreshold = 1e9f; // the readings differ in gender; only the counters are under test
    ASSERT_EQ(Analyse(kUnseenFemale, 0, 0, 0), 1) << Label();
    ASSERT_EQ(Analyse(kUnseenMale, 0, 1, 1), 1) << Label();
    ASSERT_EQ(Analyse(kUnseenFemale, 0, 2, 2), 1) << Label();
    EXPECT_EQ(m_context.femaleCount, 2);
    EXPECT_EQ(m_context.maleCount, 1);
    ASSERT_EQ(Analyse(kUnseenMale, 0, 3, 0), 1) << Label();
    EXPECT_EQ(m_context.femaleCount, 0);
    EXPECT_EQ(m_context.maleCount, 1);
}

TEST_F(CheckSexSpeechTest, CountersAlsoGrowInVerificationMode)
{
    m_context.mode = 2;
    ASSERT_EQ(Analyse(kUnseenFemale, 1, 0, 0), 1) << Label();
    EXPECT_EQ(m_context.sex, 1);
    EXPECT_EQ(m_context.femaleCount, 1);
}

TEST_F(CheckSexSpeechTest, IdenticalRepetitionPassesAZeroThreshold)
{
    m_context.sameWordThreshold = 0.0f;
    ASSERT_EQ(Analyse(kUnseenMale, 0, 0, 0), 1) << Label();
    EXPECT_EQ(Analyse(kUnseenMale, 0, 0, 1), 1) << Label();
    EXPECT_EQ(m_context.decisions.sameWordDistance, std::optional<double>(0.0));
    EXPECT_FALSE(m_context.decisions.wordRecognised.has_value()); // only the first repetition is checked
    EXPECT_EQ(m_context.maleCount, 2);
}

TEST_F(CheckSexSpeechTest, RepetitionOfAnotherWordIsRejectedWithItsDistance)
{
    m_context.sameWordThreshold = 0.0f;
    ASSERT_EQ(Analyse(kUnseenMale, 0, 0, 0), 1) << Label();
    EXPECT_EQ(Analyse(kUnseenMale, 3, 1, 1), 0);
    double distance = 0.0;
    ASSERT_EQ(std::sscanf(m_context.labelText, "[SR] Different from 1'st word! - %lf", &distance), 1) << Label();
    EXPECT_GT(distance, 0.0);
    ASSERT_TRUE(m_context.decisions.sameWordDistance.has_value());
    EXPECT_NEAR(*m_context.decisions.sameWordDistance, distance, 5e-7); // the line rounds to six decimals
    EXPECT_EQ(m_context.maleCount, 1); // a rejected repetition is not counted
    // The rejected repetition still leaves its features in its slot.
    EXPECT_GT(m_context.work->slots[1].frameCount, 0);
}

TEST_F(CheckSexSpeechTest, VerificationModeRunsNeitherDtwNorWordCheck)
{
    m_context.mode = 2;
    m_context.sameWordThreshold = 0.0f;
    UseFolder(FolderWithDefaultCode());
    halvox::CopyText(m_context.wordCode, "aak"); // would fail the word check
    ASSERT_EQ(Analyse(kUnseenMale, 0, 0, 0), 1) << Label();
    EXPECT_FALSE(m_context.decisions.wordRecognised.has_value());
    EXPECT_EQ(Analyse(kUnseenMale, 4, 1, 1), 1) << Label(); // would fail the same-word check
    EXPECT_FALSE(m_context.decisions.sameWordDistance.has_value());
}

TEST_F(CheckSexSpeechTest, WordCheckOffNeedsNoVocabularyFile)
{
    UseFolder(PartialFolder("check-sex-speech-no-vocabulary", {"iwrec"}));
    m_context.wordCheck = 0;
    EXPECT_EQ(Analyse(kUnseenMale, 0, 0, 0), 1) << Label();
}

TEST_F(CheckSexSpeechTest, MissingVocabularyFileFailsAsADifferentPassword)
{
    UseFolder(PartialFolder("check-sex-speech-no-vocabulary", {"iwrec"}));
    EXPECT_EQ(Analyse(kUnseenMale, 0, 0, 0), 0);
    EXPECT_STREQ(m_context.labelText, "[SR] Different password!");
    EXPECT_EQ(m_context.decisions.wordRecognised, std::optional<bool>(false));
    EXPECT_EQ(m_context.maleCount, 0);
}

TEST_F(CheckSexSpeechTest, CodeOutsideTheVocabularyFailsTheWordCheck)
{
    UseFolder(FolderWithDefaultCode());
    halvox::CopyText(m_context.wordCode, "aak");
    EXPECT_EQ(Analyse(kUnseenMale, 0, 0, 0), 0);
    EXPECT_STREQ(m_context.labelText, "[SR] Different password!");
}

TEST_F(CheckSexSpeechTest, MissingBackgroundModelGivesSexMinusOne)
{
    const std::string folder = PartialFolder("check-sex-speech-no-female", {"word16/aaj_f.bin"});
    UseFolder(folder);
    EXPECT_EQ(Analyse(kUnseenMale, 0, 0, 0), 0);
    EXPECT_EQ(m_context.sex, -1);
    EXPECT_EQ(Label(), "[HALVOX] Cannot open file! [" + folder + "/word16/aaj_f.bin]");
    EXPECT_STREQ(m_context.statusText, "");
    EXPECT_FALSE(m_context.decisions.gender.has_value());
    EXPECT_EQ(m_context.maleCount + m_context.femaleCount, 0);
}

class CheckSexSpeechRefusal : public CheckSexSpeechTest, public ::testing::WithParamInterface<int>
{
};

INSTANTIATE_TEST_SUITE_P(Indices, CheckSexSpeechRefusal, ::testing::Values(-1, 3, 4, 1000000));

TEST_P(CheckSexSpeechRefusal, SlotIndexOutsideTheWorkMemoryIsRefused)
{
    ASSERT_EQ(Analyse(kUnseenMale, 0, 0, 0), 1) << Label();
    EXPECT_EQ(Analyse(kUnseenMale, 0, 1, GetParam()), 0);
    EXPECT_NE(Label().find("Work memory error"), std::string::npos) << Label();
}

TEST_F(CheckSexSpeechTest, RefusesBeforeAnyReading)
{
    std::vector<short> samples(33075, 100);
    EXPECT_EQ(halvox::CheckSexSpeech(m_context, samples.data(), 33075, 0), 0);
    EXPECT_NE(Label().find("Work memory error"), std::string::npos) << Label();
}

TEST_F(CheckSexSpeechTest, RefusesAfterASizingParameterChanged)
{
    ASSERT_EQ(Analyse(kUnseenMale, 0, 0, 0), 1) << Label();
    m_context.maxRepeat = 5;
    EXPECT_EQ(halvox::CheckSexSpeech(m_context, m_samples.data(), static_cast<int>(m_samples.size()), 4), 0);
    EXPECT_NE(Label().find("Work memory error"), std::string::npos) << Label();
}

TEST_F(CheckSexSpeechTest, RefusesEndpointsWithoutFramesAndMissingSamples)
{
    ASSERT_EQ(Analyse(kUnseenMale, 0, 0, 0), 1) << Label();
    const int count = static_cast<int>(m_samples.size());
    m_context.endFrame = m_context.startFrame;
    EXPECT_EQ(halvox::CheckSexSpeech(m_context, m_samples.data(), count, 0), 0);
    EXPECT_EQ(m_context.work->slots[0].frameCount, 0);
    EXPECT_EQ(halvox::CheckSexSpeech(m_context, nullptr, count, 0), 0);
    EXPECT_NE(Label().find("Work memory error"), std::string::npos) << Label();
}

TEST_F(CheckSexSpeechTest, EndpointsBeyondTheSlotAreClippedToItsCapacity)
{
    ASSERT_EQ(Analyse(kUnseenMale, 0, 0, 0), 1) << Label();
    m_context.startFrame = 0;
    m_context.endFrame = 100000; // frames past the recording read as silence; the slot holds 414
    m_context.mode = 2;
    halvox::CheckSexSpeech(m_context, m_samples.data(), static_cast<int>(m_samples.size()), 0);
    EXPECT_EQ(m_context.work->slots[0].frameCount, m_context.work->slotCapacity);
}

TEST_F(CheckSexSpeechTest, SingleFrameRepetitionIsNotTheSameWord)
{
    m_context.sameWordThreshold = 9999.0f;
    ASSERT_EQ(Analyse(kUnseenMale, 0, 0, 0), 1) << Label();
    m_context.endFrame = m_context.startFrame + 1;
    EXPECT_EQ(halvox::CheckSexSpeech(m_context, m_samples.data(), static_cast<int>(m_samples.size()), 1), 0);
    EXPECT_STREQ(m_context.labelText, "[SR] Different from 1'st word! - 10000.000000");
}

// How the same-word distance separates another take of the word from another word, at the default threshold.
void CheckSexSpeechTest::SameWordFigures()
{
    m_context.mode = 2;
    int sameBelow = 0;
    int otherBelow = 0;
    int pairs = 0;
    double sameLargest = 0.0;
    double otherSmallest = 1e300;
    const halvox::DtwMatcher matcher(20);
    for (int voice : {3, 4, 5, 9, 10, 11}) {
        for (int word = 0; word < 6; ++word) {
            ASSERT_EQ(Analyse(voice, word, 5, 0), 1);
            ASSERT_EQ(Analyse(voice, word, 6, 1), 1);
            ASSERT_EQ(Analyse(voice, (word + 1) % 6, 6, 2), 1);
            const auto& slots = m_context.work->slots;
            const double same = matcher.Distance(
                slots[0].features.data(), slots[0].frameCount, slots[1].features.data(), slots[1].frameCount);
            const double other = matcher.Distance(
                slots[0].features.data(), slots[0].frameCount, slots[2].features.data(), slots[2].frameCount);
            ++pairs;
            sameBelow += same <= 1.0 ? 1 : 0;
            otherBelow += other <= 1.0 ? 1 : 0;
            sameLargest = std::max(sameLargest, same);
            otherSmallest = std::min(otherSmallest, other);
        }
    }
    std::printf("[ figures  ] same word within 1.0: %d of %d (largest %.3f); other word within 1.0: %d of %d "
                "(smallest %.3f)\n",
        sameBelow, pairs, sameLargest, otherBelow, pairs, otherSmallest);
}

// Figures for talkers the folder was not made from; a clear majority is required, the rest is printed.
TEST_F(CheckSexSpeechTest, UnseenTalkersFigures)
{
    int genderRight = 0;
    int wordRight = 0;
    int readings = 0;
    for (int voice : {3, 4, 5, 9, 10, 11}) {
        const int expectedSex = voice >= 6 ? 1 : 0;
        for (int word = 0; word < 6; ++word) {
            halvox::CopyText(m_context.wordCode, kWordCodes[word]);
            const int result = Analyse(voice, word, 5, 0);
            ASSERT_NE(result, -1) << "voice " << voice << " word " << word;
            ++readings;
            genderRight += m_context.sex == expectedSex ? 1 : 0;
            wordRight += result == 1 ? 1 : 0;
        }
    }
    std::printf(
        "[ figures  ] gender right %d of %d, word check passed %d of %d\n", genderRight, readings, wordRight, readings);
    SameWordFigures();
    EXPECT_GT(genderRight, readings * 2 / 3);
    EXPECT_GT(wordRight, readings / 2);
}

} // namespace
