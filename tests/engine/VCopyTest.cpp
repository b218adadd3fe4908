// The live-versus-recording check on analysed readings: its dated line, the gender's files, and refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "SmallEngineSession.h"
#include "SyntheticVoice.h"
#include "VCopy.h"

namespace {

using namespace warden::test;

constexpr int kWord = 1;

halvox::LocalDateTime FixedTime()
{
    return halvox::LocalDateTime {2024, 11, 5, 23, 4, 9};
}

class LiveCheckOperation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const SmallEngineFolder& folder = SmallEngineFolder::Get();
        ASSERT_TRUE(folder.Ready()) << folder.Error();
        m_folder = folder.Folder();
        ConfigureSmallEngine(m_context, m_folder, "live-user", "abj", 3);
    }

    halvox::EngineContext m_context;
    std::string m_folder;
};

TEST_F(LiveCheckOperation, WritesADatedLineWithTheDecision)
{
    ASSERT_TRUE(AnalyseReading(m_context, TestReading(4, kWord, 1), 0));
    const std::vector<float> before(m_context.work->slots[0].features);
    const int result = halvox::VCopy(m_context, FixedTime);
    const std::string status = m_context.statusText;
    const std::string expectedStart = "11/05/24\t23:04:09\tlive-user\t";
    EXPECT_EQ(status.rfind(expectedStart, 0), 0u) << status;
    if (result == 1) {
        EXPECT_NE(status.find("\t[Live]\t"), std::string::npos);
        EXPECT_EQ(status.back(), '\t');
    } else {
        EXPECT_NE(status.find("\t[Record]\t"), std::string::npos);
        EXPECT_NE(status.back(), '\t');
    }
    EXPECT_STREQ(m_context.labelText, "");
    // The decision's figures are the line's W(Q/V), which rounds them to six and three decimals.
    const auto& decision = m_context.decisions.liveCheck;
    ASSERT_TRUE(decision.has_value());
    EXPECT_EQ(decision->live, result == 1);
    double ratio = 0.0, background = 0.0, scaled = 0.0;
    const std::size_t field = status.find("]\t");
    ASSERT_NE(field, std::string::npos);
    ASSERT_EQ(std::sscanf(status.c_str() + field + 2, "%lf(%lf/%lf)", &ratio, &background, &scaled), 3) << status;
    EXPECT_NEAR(decision->ratio, ratio, 5e-7);
    EXPECT_NEAR(decision->backgroundScore, background, 5e-4);
    EXPECT_NEAR(decision->scaledRecordingScore, scaled, 5e-4);
    // The live check works on the features as extracted; verification comes after it.
    EXPECT_EQ(m_context.work->slots[0].features, before);
    std::cerr << "[ figures  ] live reading: " << status << "\n";

    ASSERT_TRUE(AnalyseReading(m_context, Replay(TestReading(4, kWord, 1), 5), 0));
    halvox::VCopy(m_context, FixedTime);
    std::cerr << "[ figures  ] replayed reading: " << m_context.statusText << "\n";
}

TEST_F(LiveCheckOperation, MissingRecordingModelIsReportedWithAnEmptyStatus)
{
    ASSERT_TRUE(AnalyseReading(m_context, TestReading(4, kWord, 1), 0));
    halvox::VCopy(m_context, FixedTime);
    ASSERT_TRUE(m_context.decisions.liveCheck.has_value());
    halvox::CopyText(m_context.wordCode, "zzz"); // no such word: the background file is missing first
    EXPECT_EQ(halvox::VCopy(m_context, FixedTime), 0);
    EXPECT_EQ(std::string(m_context.labelText), "[HALVOX] Cannot open file! [" + m_folder + "word16/zzz_m.bin]");
    EXPECT_STREQ(m_context.statusText, "");
    EXPECT_FALSE(m_context.decisions.liveCheck.has_value()); // nor the earlier reading's decision
}

TEST_F(LiveCheckOperation, UndecidedGenderUsesTheFemaleFiles)
{
    ASSERT_TRUE(AnalyseReading(m_context, TestReading(4, kWord, 1), 0));
    m_context.sex = -1;
    halvox::CopyText(m_context.wordCode, "zzz");
    EXPECT_EQ(halvox::VCopy(m_context, FixedTime), 0);
    EXPECT_EQ(std::string(m_context.labelText), "[HALVOX] Cannot open file! [" + m_folder + "word16/zzz_f.bin]");
}

TEST_F(LiveCheckOperation, RefusesBeforeAnyReading)
{
    halvox::CopyText(m_context.statusText, "old");
    EXPECT_EQ(halvox::VCopy(m_context, FixedTime), 0);
    EXPECT_STREQ(m_context.statusText, "");
    EXPECT_NE(std::string(m_context.labelText).find("Work memory error"), std::string::npos);
}

} // namespace
