#include "EvalEngine.h"

#include <gtest/gtest.h>

#include "ProcessScratchFolder.h"

#include <filesystem>

#include "EngineDataInstall.h"
#include "EngineFolderFixture.h"

namespace halvox::tool {
namespace {

namespace fs = std::filesystem;

// The evaluation engine over the shipped models, enrolled with the synthetic test talkers (voices the
// models never saw): the mechanics of trials must hold whatever the verdicts are.
class EvalEngineTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = (warden::test::ProcessScratchFolder() / "eval_engine_folder").string();
        fs::remove_all(s_folder);
        std::string error;
        ASSERT_TRUE(modelbuild::InstallEngineData(SHIPPED_ENGINE_DATA, s_folder, error)) << error;
    }

    static std::vector<std::vector<int16_t>> Readings(int voice, int word, int first, int count)
    {
        std::vector<std::vector<int16_t>> readings;
        for (int take = first; take < first + count; ++take)
            readings.push_back(warden::test::TestReading(voice, word, take));
        return readings;
    }

    static std::string s_folder;
};

std::string EvalEngineTest::s_folder;

TEST_F(EvalEngineTest, EnrolsAndReadsEveryVerdictFromTheEngineDecisions)
{
    EvalEngine engine(s_folder, 5, 0.3f);
    std::string error;
    const std::optional<int> used = engine.Enrol("talker3", "aaj", "ひまわり", false, Readings(3, 0, 0, 8), error);
    ASSERT_TRUE(used.has_value()) << error;
    EXPECT_GE(*used, 5);
    EXPECT_TRUE(fs::exists(fs::path(s_folder) / "user" / "talker3" / "aaj.bin"));

    for (const auto& reading : Readings(3, 0, 10, 2)) {
        const AnalysedProbe probe = engine.Analyse(reading, "aaj", false);
        ASSERT_TRUE(probe.taken);
        EXPECT_GT(probe.frameCount, 1);
        EXPECT_EQ(probe.live, probe.liveRatio <= 1.0) << "live verdict and its ratio disagree";
        const VerifyOutcome outcome = engine.Verify(probe, "talker3", "aaj", false);
        ASSERT_TRUE(outcome.decided);
        EXPECT_GT(outcome.threshold, 0.3);
        EXPECT_EQ(outcome.accepted, outcome.Score() < 0.0) << "the decision's figures and the verdict disagree";
        EXPECT_FALSE(outcome.updated);
    }
}

// Probes are analysed first and verified later, many times each: every trial must run on its own probe's
// features as extracted, not on whatever the last analysis or verification left in the engine. (Two male
// talkers, so that a mix-up cannot hide behind a change of background model.)
TEST_F(EvalEngineTest, EachTrialRunsOnItsOwnProbe)
{
    EvalEngine engine(s_folder, 5, 0.3f);
    std::string error;
    ASSERT_TRUE(engine.Enrol("talker4", "abj", "さくらんぼ", false, Readings(4, 1, 0, 8), error)) << error;
    ASSERT_TRUE(engine.Enrol("talker5", "abj", "さくらんぼ", false, Readings(5, 1, 0, 8), error)) << error;
    const AnalysedProbe own = engine.Analyse(warden::test::TestReading(4, 1, 12), "abj", false);
    const AnalysedProbe other = engine.Analyse(warden::test::TestReading(5, 1, 12), "abj", false);
    ASSERT_TRUE(own.taken && other.taken);
    const VerifyOutcome first = engine.Verify(own, "talker4", "abj", false);
    const VerifyOutcome otherProbe = engine.Verify(other, "talker4", "abj", false);
    const VerifyOutcome otherModel = engine.Verify(own, "talker5", "abj", false);
    const VerifyOutcome again = engine.Verify(own, "talker4", "abj", false);
    ASSERT_TRUE(first.decided && otherProbe.decided && otherModel.decided && again.decided);
    EXPECT_EQ(first.ratio, again.ratio);
    EXPECT_NE(first.ratio, otherProbe.ratio);
    EXPECT_NE(first.ratio, otherModel.ratio);
}

TEST_F(EvalEngineTest, AdaptationRewritesOnlyAfterAnAcceptance)
{
    EvalEngine engine(s_folder, 5, 5.0f); // a margin that accepts any reading
    std::string error;
    ASSERT_TRUE(engine.Enrol("talker5", "afj", "あまのがわ", false, Readings(5, 5, 0, 8), error)) << error;
    const AnalysedProbe probe = engine.Analyse(warden::test::TestReading(5, 5, 11), "afj", false);
    ASSERT_TRUE(probe.taken);
    const VerifyOutcome adapted = engine.Verify(probe, "talker5", "afj", true);
    ASSERT_TRUE(adapted.accepted);
    EXPECT_TRUE(adapted.updated);

    EvalEngine strict(s_folder, 5, -5.0f); // a margin that denies every reading
    const VerifyOutcome denied
        = strict.Verify(strict.Analyse(warden::test::TestReading(5, 5, 11), "afj", false), "talker5", "afj", true);
    ASSERT_TRUE(denied.decided);
    EXPECT_FALSE(denied.accepted);
    EXPECT_FALSE(denied.updated);
}

TEST_F(EvalEngineTest, EnrolmentWithTooFewUsableReadingsFails)
{
    EvalEngine engine(s_folder, 5, 0.3f);
    std::vector<std::vector<int16_t>> readings = Readings(3, 2, 0, 3);
    readings.push_back(std::vector<int16_t>(33075, 0)); // silence is refused by the endpoint detection
    std::string error;
    EXPECT_FALSE(engine.Enrol("talker3", "acj", "かぶとむし", true, readings, error).has_value());
    EXPECT_NE(error.find("only 3 readings"), std::string::npos) << error;
}

TEST_F(EvalEngineTest, VerifyingAgainstAMissingModelDecidesNothing)
{
    EvalEngine engine(s_folder, 5, 0.3f);
    const AnalysedProbe probe = engine.Analyse(warden::test::TestReading(3, 3, 0), "adj", true);
    ASSERT_TRUE(probe.taken);
    const VerifyOutcome outcome = engine.Verify(probe, "nobody", "adj", false);
    EXPECT_FALSE(outcome.decided);
    EXPECT_FALSE(outcome.accepted);
    EXPECT_FALSE(engine.Verify(AnalysedProbe {}, "talker3", "adj", false).decided);
}

} // namespace
} // namespace halvox::tool
