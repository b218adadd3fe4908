// The model update after an accepted verification: weight normalisation, the rewritten model, the
// progress lines, and failures that must leave the stored model as it was.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "EngineLog.h"
#include "EnginePaths.h"
#include "ModelFiles.h"
#include "ModelUpdate.h"
#include "SmallEngineSession.h"
#include "Train.h"
#include "Verify.h"

namespace {

using namespace warden::test;
using halvox::NormalisedUpdateWeights;
using halvox::UpdateWeights;

constexpr int kRepeats = 5;
constexpr int kWord = 0;
constexpr int kVoice = 4;

TEST(UpdateWeights, DefaultsAlreadySumToOneAndStayExactlyAsTheyAre)
{
    const UpdateWeights weights = NormalisedUpdateWeights({0.8, 0.1, 0.1});
    EXPECT_EQ(weights.start, 0.8);
    EXPECT_EQ(weights.reading, 0.1);
    EXPECT_EQ(weights.adapted, 0.1);
}

TEST(UpdateWeights, OtherSumsAreScaledToOne)
{
    const UpdateWeights weights = NormalisedUpdateWeights({2.0, 1.0, 1.0});
    EXPECT_EQ(weights.start, 0.5);
    EXPECT_EQ(weights.reading, 0.25);
    EXPECT_EQ(weights.adapted, 0.25);
    const UpdateWeights zero = NormalisedUpdateWeights({0.0, 0.0, 0.0});
    EXPECT_EQ(zero.start, 0.0); // nothing to scale by; no division by zero
}

std::vector<char> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ModelUpdate : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const SmallEngineFolder& folder = SmallEngineFolder::Get();
        ASSERT_TRUE(folder.Ready()) << folder.Error();
        m_folder = folder.Folder();
        m_modelPath = m_folder + "user/update-user/aaj.bin";
        if (s_enrolled.empty()) {
            halvox::EngineContext enrolment;
            ConfigureSmallEngine(enrolment, m_folder, "update-user", "aaj", kRepeats);
            MakeUserFolder(m_folder, "update-user");
            ASSERT_TRUE(AnalyseEnrolment(enrolment, kVoice, kWord, kRepeats));
            ASSERT_EQ(halvox::Train(enrolment), 1) << enrolment.labelText;
            s_enrolled = FileBytes(m_modelPath);
        }
        std::ofstream(m_modelPath, std::ios::binary | std::ios::trunc)
            .write(s_enrolled.data(), static_cast<std::streamsize>(s_enrolled.size()));
        ConfigureSmallEngine(m_context, m_folder, "update-user", "aaj", 3);
        ASSERT_EQ(halvox::ReadUserModel(m_modelPath, &m_current), halvox::ModelFileError::None);
        ASSERT_EQ(halvox::ReadCodebookModel(halvox::BackgroundModelPath(m_folder, kSmallCodebookSize, "aaj", true),
                      true, 20, kSmallCodebookSize, 5, kSmallCodebookSize, &m_background),
            halvox::ModelFileError::None);
        ASSERT_TRUE(AnalyseReading(m_context, TestReading(kVoice, kWord, 6), 0));
    }

    int Update(const std::string& path)
    {
        return halvox::UpdateUserModel(m_context, *m_context.work, m_current, m_background, path);
    }

    static std::vector<char> s_enrolled;
    std::vector<std::string> m_logged;
    const halvox::ScopedLogSink m_log {[this](std::string_view line) { m_logged.emplace_back(line); }};
    halvox::EngineContext m_context;
    halvox::UserModel m_current;
    halvox::CodebookModel m_background;
    std::string m_folder;
    std::string m_modelPath;
};

std::vector<char> ModelUpdate::s_enrolled;

TEST_F(ModelUpdate, RewritesTheModelWithTheAdaptedCodebookAndHmm)
{
    ASSERT_EQ(Update(m_modelPath), 1) << m_context.labelText;
    halvox::UserModel next;
    ASSERT_EQ(halvox::ReadUserModel(m_modelPath, &next), halvox::ModelFileError::None);
    ASSERT_GE(next.codebookSize, m_current.codebookSize);
    EXPECT_EQ(next.dimensionWeights, m_current.dimensionWeights);
    EXPECT_EQ(next.auxMean, m_current.auxMean);
    EXPECT_EQ(next.trainedRatio, m_current.trainedRatio);
    EXPECT_EQ(next.discrimination.size(), static_cast<size_t>(next.codebookSize));
    for (float a : next.a)
        EXPECT_GE(a, 1e-6f);
    // Slot 1 holds the reading quantised with the new codebook.
    const auto& slots = m_context.work->slots;
    EXPECT_EQ(slots[1].frameCount, slots[0].frameCount);
    for (int t = 0; t < slots[1].frameCount; ++t)
        ASSERT_LT(slots[1].symbols[static_cast<size_t>(t)], next.codebookSize);
    // One progress line per re-estimation pass, numbered from 1, the change with six decimals.
    int passes = 0;
    for (const std::string& line : m_logged) {
        ++passes;
        const std::string prefix = std::to_string(passes) + "\tReturn value of reestimate() : ";
        ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
        const std::string change = line.substr(prefix.size());
        const size_t point = change.find('.');
        ASSERT_NE(point, std::string::npos) << line;
        EXPECT_EQ(change.size() - point - 1, 6u) << line;
    }
    EXPECT_GE(passes, 1);
}

TEST_F(ModelUpdate, HeaderTakesTheContextsCurrentTextsAndGender)
{
    halvox::CopyText(m_context.wordText, "another text");
    m_context.sex = 1;
    ASSERT_EQ(Update(m_modelPath), 1) << m_context.labelText;
    halvox::UserModel next;
    ASSERT_EQ(halvox::ReadUserModelHeader(m_modelPath, &next), halvox::ModelFileError::None);
    EXPECT_EQ(next.wordText, "another text");
    EXPECT_EQ(next.flags, 0x0D);
}

TEST_F(ModelUpdate, NoTrainingThresholdKeepsTheStartingHmm)
{
    m_context.convergence = 99999.0;
    ASSERT_EQ(Update(m_modelPath), 1) << m_context.labelText;
    EXPECT_TRUE(m_logged.empty()); // no pass runs
    halvox::UserModel next;
    ASSERT_EQ(halvox::ReadUserModel(m_modelPath, &next), halvox::ModelFileError::None);
    const int oldSize = m_current.codebookSize;
    for (int i = 0; i < next.states; ++i)
        for (int j = 0; j < next.codebookSize; ++j) {
            const float stored = j < oldSize ? m_current.b[static_cast<size_t>(i * oldSize + j)] : 0.0f;
            const float expected = j < oldSize ? std::max(stored, 1e-6f) : 1e-6f;
            EXPECT_FLOAT_EQ(next.b[static_cast<size_t>(i * next.codebookSize + j)], expected);
        }
}

TEST_F(ModelUpdate, WeightsThatDoNotSumToOneAreNormalisedForGood)
{
    m_context.updateWeight1 = 2.0;
    m_context.updateWeight2 = 1.0;
    m_context.updateWeight3 = 1.0;
    ASSERT_EQ(Update(m_modelPath), 1);
    EXPECT_EQ(m_context.updateWeight1, 0.5);
    EXPECT_EQ(m_context.updateWeight2, 0.25);
    EXPECT_EQ(m_context.updateWeight3, 0.25);
}

TEST_F(ModelUpdate, UncreatableFileIsReportedAndTheOldModelStays)
{
    const std::string path = m_folder + "user/missing-folder/aaj.bin";
    EXPECT_EQ(Update(path), 0);
    EXPECT_EQ(std::string(m_context.labelText), "[HALVOX] Cannot create file! [" + path + "]");
    EXPECT_EQ(FileBytes(m_modelPath), s_enrolled);
}

TEST_F(ModelUpdate, WorksWithASingleSlot)
{
    halvox::EngineContext single;
    ConfigureSmallEngine(single, m_folder, "update-user", "aaj", 1);
    ASSERT_TRUE(AnalyseReading(single, TestReading(kVoice, kWord, 6), 0));
    EXPECT_EQ(halvox::UpdateUserModel(single, *single.work, m_current, m_background, m_modelPath), 1);
}

TEST_F(ModelUpdate, AcceptedVerificationReportsTheRewrite)
{
    m_context.securityMargin = 10.0f; // accept whatever the reading scores
    EXPECT_EQ(halvox::Verify(m_context), 1) << m_context.labelText;
    EXPECT_FALSE(m_logged.empty());
    EXPECT_EQ(m_context.modelUpdated, 1);
    EXPECT_NE(FileBytes(m_modelPath), s_enrolled);
}

} // namespace
