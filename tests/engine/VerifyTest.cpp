// Verification against a trained user model: the decision on the enrolled and on other talkers, the
// update flag, and every way a missing or damaged model is refused without a crash.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "EngineLog.h"
#include "ModelFiles.h"
#include "SmallEngineSession.h"
#include "Train.h"
#include "Verify.h"

namespace {

using namespace warden::test;

constexpr int kRepeats = 5;
constexpr int kWord = 0;
constexpr int kEnrolledVoice = 3;

std::vector<char> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// One user enrolled once for the whole suite; each test verifies in a fresh context, as the dialog does.
class Verification : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const SmallEngineFolder& folder = SmallEngineFolder::Get();
        if (!folder.Ready())
            return;
        halvox::EngineContext context;
        ConfigureSmallEngine(context, folder.Folder(), "verify-user", "aaj", kRepeats);
        MakeUserFolder(folder.Folder(), "verify-user");
        context.mode = 1;
        if (AnalyseEnrolment(context, kEnrolledVoice, kWord, kRepeats) && halvox::Train(context) == 1)
            s_enrolled = FileBytes(folder.Folder() + "user/verify-user/aaj.bin");
    }

    void SetUp() override
    {
        ASSERT_TRUE(SmallEngineFolder::Get().Ready()) << SmallEngineFolder::Get().Error();
        ASSERT_FALSE(s_enrolled.empty());
        m_folder = SmallEngineFolder::Get().Folder();
        m_modelPath = m_folder + "user/verify-user/aaj.bin";
        WriteBytes(m_modelPath, s_enrolled); // undo the update of an earlier test
        ConfigureSmallEngine(m_context, m_folder, "verify-user", "aaj", 3);
        m_context.mode = 2;
    }

    // Analyses a reading into slot 0 and verifies it; the ratio M comes from the decision.
    int VerifyReading(int voice, int take, float* ratio = nullptr)
    {
        EXPECT_TRUE(AnalyseReading(m_context, TestReading(voice, kWord, take), 0)) << m_context.labelText;
        const int result = halvox::Verify(m_context);
        if (ratio != nullptr)
            *ratio = m_context.decisions.verification ? m_context.decisions.verification->ratio : 0.0f;
        return result;
    }

    // Updates log one line per pass; keep them out of the test log.
    const halvox::ScopedLogSink m_quiet {[](std::string_view) {}};
    static std::vector<char> s_enrolled;
    halvox::EngineContext m_context;
    std::string m_folder;
    std::string m_modelPath;
};

std::vector<char> Verification::s_enrolled;

TEST_F(Verification, AcceptsANewReadingOfTheEnrolledTalkerAndUpdatesTheModel)
{
    float m = 0.0f;
    EXPECT_EQ(VerifyReading(kEnrolledVoice, 6, &m), 1) << m_context.statusText;
    EXPECT_EQ(std::string(m_context.statusText).rfind("[Accept-0.000] ", 0), 0u) << m_context.statusText;
    EXPECT_NE(std::string(m_context.statusText).find(m_folder + "word16/aaj_m.bin"), std::string::npos);
    EXPECT_EQ(m_context.modelUpdated, 1) << m_context.labelText;
    EXPECT_NE(FileBytes(m_modelPath), s_enrolled);
    std::cerr << "[ figures  ] enrolled talker M " << m << ", threshold " << m_context.trainedRatio + 0.26f << "\n";
}

// The fixture's background models know three talkers per gender; a talker they know (voice 0) and a
// talker of the other gender (voice 9, judged against the female background) score far better under the
// background than under the enrolled user's model.
TEST_F(Verification, DeniesTalkersTheBackgroundExplainsBetterAndLeavesTheModelAlone)
{
    for (int voice : {0, 9}) {
        float m = 0.0f;
        EXPECT_EQ(VerifyReading(voice, 0, &m), 0) << m_context.statusText;
        EXPECT_EQ(std::string(m_context.statusText).rfind("[Denied-0.000] ", 0), 0u) << m_context.statusText;
        EXPECT_EQ(m_context.modelUpdated, 0);
        std::cerr << "[ figures  ] talker " << voice << " M " << m << "\n";
    }
    EXPECT_EQ(FileBytes(m_modelPath), s_enrolled);
    // Male talkers outside the background set are reported, not judged: with three background talkers
    // their readings sit as close to the user's codebook as the user's own.
    for (int voice : {4, 5}) {
        float m = 0.0f;
        m_context.adaptOnAccept = 0;
        VerifyReading(voice, 0, &m);
        std::cerr << "[ figures  ] unseen male talker " << voice << " M " << m << "\n";
    }
}

TEST_F(Verification, AdaptationOffAcceptsWithoutRewriting)
{
    m_context.adaptOnAccept = 0;
    m_context.modelUpdated = 1;
    EXPECT_EQ(VerifyReading(kEnrolledVoice, 7), 1) << m_context.statusText;
    EXPECT_EQ(m_context.modelUpdated, 0);
    EXPECT_EQ(FileBytes(m_modelPath), s_enrolled);
}

TEST_F(Verification, ARatioEqualToTheThresholdIsDenied)
{
    m_context.securityMargin = 0.0f;
    m_context.adaptOnAccept = 0;
    float m = 0.0f;
    VerifyReading(kEnrolledVoice, 6, &m);
    ASSERT_GT(m, 0.0f);
    // With a margin of 0 the threshold is the stored trained ratio itself: M denies, one float step above
    // M accepts.
    halvox::UserModel model;
    ASSERT_EQ(halvox::ReadUserModel(m_modelPath, &model), halvox::ModelFileError::None);
    model.trainedRatio = m;
    ASSERT_EQ(halvox::WriteUserModel(m_modelPath, model), halvox::ModelFileError::None);
    EXPECT_EQ(VerifyReading(kEnrolledVoice, 6), 0);
    EXPECT_EQ(std::string(m_context.statusText).rfind("[Denied-0.000] ", 0), 0u);
    model.trainedRatio = std::nextafter(m, 1.0f);
    ASSERT_EQ(halvox::WriteUserModel(m_modelPath, model), halvox::ModelFileError::None);
    EXPECT_EQ(VerifyReading(kEnrolledVoice, 6), 1);
}

// The decision's figures are the ones the status line shows, rounded to the line's decimals.
TEST_F(Verification, DecisionCarriesTheFiguresOfTheStatusLine)
{
    for (const int voice : {kEnrolledVoice, 0}) {
        m_context.adaptOnAccept = 0;
        const int result = VerifyReading(voice, 6);
        const auto& decision = m_context.decisions.verification;
        ASSERT_TRUE(decision.has_value());
        EXPECT_EQ(decision->accepted, result == 1);
        char verdict[8] = {};
        double ratio = 0.0, user = 0.0, background = 0.0, threshold = 0.0, trained = 0.0, margin = 0.0;
        ASSERT_EQ(std::sscanf(m_context.statusText, "[%6[A-Za-z]-%*f] %lf(%lf/%lf) : %lf(%lf+%lf)", verdict, &ratio,
                      &user, &background, &threshold, &trained, &margin),
            7)
            << m_context.statusText;
        EXPECT_STREQ(verdict, decision->accepted ? "Accept" : "Denied");
        EXPECT_NEAR(decision->ratio, ratio, 5e-7);
        EXPECT_NEAR(decision->userScore, user, 5e-4);
        EXPECT_NEAR(decision->backgroundScore, background, 5e-4);
        EXPECT_NEAR(decision->threshold, threshold, 5e-7);
        EXPECT_NEAR(decision->trainedRatio, trained, 5e-4);
        EXPECT_NEAR(decision->securityMargin, margin, 5e-4);
        EXPECT_EQ(decision->trainedRatio, m_context.trainedRatio);
    }
}

TEST_F(Verification, MissingUserModelIsReportedAndTheStatusKept)
{
    ASSERT_TRUE(AnalyseReading(m_context, TestReading(kEnrolledVoice, kWord, 6), 0));
    halvox::CopyText(m_context.statusText, "earlier line");
    halvox::CopyText(m_context.userId, "nobody");
    EXPECT_EQ(halvox::Verify(m_context), 0);
    EXPECT_EQ(std::string(m_context.labelText), "[HALVOX] Cannot open file! [" + m_folder + "user/nobody/aaj.bin]");
    EXPECT_STREQ(m_context.statusText, "earlier line");
    EXPECT_EQ(m_context.modelUpdated, 0);
    EXPECT_FALSE(m_context.decisions.verification.has_value());
}

TEST_F(Verification, AFailedVerificationLeavesNoDecisionOfAnEarlierOne)
{
    m_context.adaptOnAccept = 0;
    VerifyReading(kEnrolledVoice, 6);
    ASSERT_TRUE(m_context.decisions.verification.has_value());
    halvox::CopyText(m_context.userId, "nobody");
    EXPECT_EQ(VerifyReading(kEnrolledVoice, 6), 0);
    EXPECT_FALSE(m_context.decisions.verification.has_value());
}

TEST_F(Verification, GenderWithoutBackgroundFileIsReported)
{
    ASSERT_TRUE(AnalyseReading(m_context, TestReading(kEnrolledVoice, kWord, 6), 0));
    m_context.sex = -1;
    EXPECT_EQ(halvox::Verify(m_context), 0);
    EXPECT_EQ(std::string(m_context.labelText), "[HALVOX] Cannot open file! [" + m_folder + "word16/aaj.bin]");
}

struct Damage
{
    const char* name;
    std::vector<char> (*apply)(std::vector<char>);
};

class DamagedUserModel : public Verification, public ::testing::WithParamInterface<Damage>
{
};

TEST_P(DamagedUserModel, IsRefusedWithTheFormatErrorLine)
{
    WriteBytes(m_modelPath, GetParam().apply(s_enrolled));
    ASSERT_TRUE(AnalyseReading(m_context, TestReading(kEnrolledVoice, kWord, 6), 0));
    EXPECT_EQ(halvox::Verify(m_context), 0);
    EXPECT_EQ(std::string(m_context.labelText), "[HALVOX] File format error! [" + m_modelPath + "]");
    EXPECT_EQ(m_context.modelUpdated, 0);
}

// The header field of the feature dimension sits after the texts: 18 + 2 + 11 + 2 + 9 + 3 + 1 + 1.
constexpr size_t kDimOffset = 18 + 2 + 11 + 2 + 9 + 3 + 2;

INSTANTIATE_TEST_SUITE_P(Damages, DamagedUserModel,
    ::testing::Values(Damage {"SixthByteNotASpace",
                          [](std::vector<char> b) {
                              b[5] = 'x';
                              return b;
                          }},
        Damage {"TruncatedBody",
            [](std::vector<char> b) {
                b.resize(b.size() - 7);
                return b;
            }},
        Damage {"HeaderOnly",
            [](std::vector<char> b) {
                b.resize(40);
                return b;
            }},
        Damage {"OtherFeatureDimension",
            [](std::vector<char> b) {
                b[kDimOffset] = 12;
                return b;
            }},
        Damage {"CodebookLargerThanTheFile",
            [](std::vector<char> b) {
                b[kDimOffset + 3] = 0x7f;
                return b;
            }}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

TEST_F(Verification, RefusesWithoutAReadingOrAfterAParameterChange)
{
    EXPECT_EQ(halvox::Verify(m_context), 0);
    EXPECT_NE(std::string(m_context.labelText).find("Work memory error"), std::string::npos);

    ASSERT_TRUE(AnalyseReading(m_context, TestReading(kEnrolledVoice, kWord, 6), 0));
    m_context.work->slots[0].frameCount = 1;
    EXPECT_EQ(halvox::Verify(m_context), 0);
    EXPECT_NE(std::string(m_context.labelText).find("slot 0"), std::string::npos);

    m_context.work->slots[0].frameCount = 0;
    m_context.featureDim = 13;
    EXPECT_EQ(halvox::Verify(m_context), 0);
    EXPECT_NE(std::string(m_context.labelText).find("parameters changed"), std::string::npos);
}

} // namespace
