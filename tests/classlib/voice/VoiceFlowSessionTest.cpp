// Whole sessions of the voice flow on the real engine with the shipped models, the readings coming
// from WAV files through the file microphone.
#include "VoiceFlowHarness.h"

#include "EngineFolderFixture.h"
#include "SyntheticVoice.h"
#include "voice/VoiceEnrolment.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace voice_test {
namespace {

// Talker 3 (male) enrols; talker 7 (female) is the other voice. Word 0 of the test speech stands for the
// enrolled word: the dialog does not check the vocabulary (SetbSpeech 0).
constexpr int kOwner = 3;
constexpr int kStranger = 7;

std::vector<std::vector<int16_t>> Takes(int voice, int first, int count)
{
    std::vector<std::vector<int16_t>> takes;
    for (int take = first; take < first + count; ++take)
        takes.push_back(warden::test::TestReading(voice, 0, take));
    return takes;
}

// A reading of the talker on another occasion. The fixture's readings of one talker share one pitch
// contour; a person's pitch moves a little from reading to reading, and the captured-unlock check tells a
// replay from a new reading by exactly that, so a verification that must pass gets a reading of its own.
std::vector<int16_t> FreshReading(int voice, int take, double pitchFactor)
{
    warden::test::Reading reading;
    reading.seed = static_cast<uint32_t>(voice * 1000 + take * 7 + 1);
    reading.offsetSeconds = 0.55 + 0.09 * (take % 5);
    reading.durationSeconds = 0.75 + 0.03 * ((take * 3) % 5);
    reading.rateJitter = 0.04 * ((take % 3) - 1);
    reading.peak = 5200.0 + 450.0 * (take % 4);
    reading.noiseLevel = 5.0 + (take % 3);
    reading.pitchFactor = pitchFactor;
    return warden::test::Speak(warden::test::TestVoice(voice), warden::test::TestWord(0), reading);
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class VoiceFlowSessionTest : public VoiceFlowTest
{
protected:
    void SetUp() override
    {
        VoiceFlowTest::SetUp();
        InstallEngineData();
        AddUser("alice", "pw-alice", 0, 1, 1, 1, "");
    }

    // Runs a session, pressing Record once it waits, and times every decision: from the 30th tick's
    // arrival until the flow has decided (and possibly started the next reading).
    void RunTimed(std::vector<double>& decisionMs)
    {
        Run();
        m_flow->PressButton(kButtonRecord);
        std::chrono::steady_clock::time_point started;
        bool deciding = false;
        Run([&](VoiceFlow& flow, bool after) {
            if (!after && flow.State().TickCount == 29) {
                deciding = true;
                started = std::chrono::steady_clock::now();
            } else if (after && deciding) {
                deciding = false;
                decisionMs.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count());
            }
        });
    }

    // Enrols word "ひまわり" for alice from five readings of `voice`; `store` keeps it as the caller does
    // once the model test has passed (the model test itself runs on the trained work-folder model).
    void Enrol(int voice, std::vector<double>& decisionMs, bool store = true)
    {
        QueueReadings(Takes(voice, 0, 5));
        VoiceFlow& flow = MakeFlow();
        flow.State().Mode = 1;
        flow.State().Purpose = 4;
        flow.State().UserID = "alice";
        flow.Start();
        RunTimed(decisionMs);
        ASSERT_TRUE(flow.Ended());
        ASSERT_EQ(flow.Result(), 1) << m_sink.LastPrompt();
        ASSERT_EQ(flow.State().ModelCreated, 1);
        flow.Finish();
        if (!store)
            return;
        std::string error;
        ASSERT_TRUE(StoreEnrolledVoice(m_users, m_voices, "alice", flow.State().Nick, error)) << error;
    }

    VoiceFlow& VerifyFlow(int purpose, int repeat, const std::vector<std::vector<int16_t>>& readings)
    {
        QueueReadings(readings);
        VoiceFlow& flow = MakeFlow();
        flow.State().Mode = 2;
        flow.State().Purpose = purpose;
        flow.State().VerifyRepeat = repeat;
        flow.State().UserID = "alice";
        if (repeat == VoiceFlow::kModelTestRepeat) {
            flow.State().Word = "ひまわり";
            flow.State().Nick = "aaj";
        }
        flow.Start();
        return flow;
    }
};

TEST_F(VoiceFlowSessionTest, FiveReadingsTrainAModelThatTheCallerStores)
{
    std::vector<double> decisionMs;
    Enrol(kOwner, decisionMs);
    const VoiceFlowState& state = m_flow->State();
    EXPECT_EQ(state.Word, "ひまわり");
    EXPECT_EQ(state.Nick, "aaj");
    EXPECT_EQ(state.EndpointErrorCount, 0);
    EXPECT_EQ(m_sink.Count(VoiceActionKind::RecordingStarted), 5);
    EXPECT_EQ(m_sink.Texts(VoiceActionKind::ShowPrompt).back(), StringText(VoiceString::CreatingModel));
    EXPECT_EQ(m_users.GetVoiceList("alice"), "aaj");
    EXPECT_FALSE(std::filesystem::exists(m_program + "/work/aaj.bin")) << "the work copy is left behind";
    ASSERT_EQ(m_voices.GetUserVoice("alice", m_users.GetCertiKey("alice"), "aaj"), 1);
    EXPECT_GT(std::filesystem::file_size(m_program + "/work/aaj.bin"), 0u);
    // A second enrolment of the same word is refused before anything is recorded.
    QueueReadings(Takes(kOwner, 0, 1));
    VoiceFlow& again = MakeFlow();
    again.State().Mode = 1;
    again.State().UserID = "alice";
    again.Start();
    Run();
    m_sink.Forget();
    again.PressButton(kButtonRecord);
    EXPECT_EQ(m_sink.LastPrompt(), StringText(VoiceString::WordAlreadyEnrolled));
    EXPECT_FALSE(m_sink.Contains(VoiceActionKind::RecordingStarted));
}

TEST_F(VoiceFlowSessionTest, OrdinaryVerifyAcceptsTheEnrolledVoiceAndDeniesAnother)
{
    std::vector<double> enrolMs;
    Enrol(kOwner, enrolMs);

    std::vector<double> verifyMs;
    VoiceFlow& own = VerifyFlow(2, 1, {FreshReading(kOwner, 6, 1.04)});
    RunTimed(verifyMs);
    ASSERT_TRUE(own.Ended());
    EXPECT_EQ(own.Result(), 1) << m_sink.LastPrompt();
    EXPECT_EQ(m_setup.GetLastUserProgram(), "alice");
    EXPECT_EQ(ReadLog(), "[26-03-15 09:41:02] alice : Decrypt : Accept\n");
    own.Finish();

    // Five denied readings use up the attempts; only the last writes its line.
    m_sink.Forget();
    VoiceFlow& other = VerifyFlow(1, 1, Takes(kStranger, 6, 5));
    RunTimed(verifyMs);
    ASSERT_TRUE(other.Ended());
    EXPECT_EQ(other.Result(), 2);
    EXPECT_EQ(m_sink.Count(VoiceActionKind::RecordingStarted), 5);
    EXPECT_EQ(other.State().AttemptsLeft, 0);
    EXPECT_EQ(ReadLog(),
        "[26-03-15 09:41:02] alice : Decrypt : Accept\n"
        "[26-03-15 09:41:02] alice : Encrypt : Denied\n");

    std::printf("[ figures  ] 30th tick to decision, median: enrolment %.2f ms over %zu readings, "
                "verification %.2f ms over %zu readings\n",
        Median(enrolMs), enrolMs.size(), Median(verifyMs), verifyMs.size());
}

TEST_F(VoiceFlowSessionTest, AReplayOfAnAcceptedOrEnrolledReadingIsRefusedAndANewReadingIsNot)
{
    std::vector<double> ms;
    Enrol(kOwner, ms);
    const std::vector<int16_t> accepted = FreshReading(kOwner, 6, 1.04);
    VoiceFlow& first = VerifyFlow(0, 1, {accepted});
    RunTimed(ms);
    ASSERT_EQ(first.Result(), 1) << m_sink.LastPrompt();
    first.Finish();

    // The accepted reading played back from a recording: refused with its own prompt, as a denied attempt.
    m_sink.Forget();
    VoiceFlow& replayed = VerifyFlow(0, 1, {warden::test::Replay(accepted, 11), warden::test::Replay(accepted, 12)});
    replayed.State().AttemptsLeft = 2;
    RunTimed(ms);
    ASSERT_TRUE(replayed.Ended());
    EXPECT_EQ(replayed.Result(), 2);
    EXPECT_EQ(m_sink.Count(VoiceActionKind::RecordingStarted), 2) << "a refusal leaves the other attempts";
    EXPECT_EQ(replayed.State().AttemptsLeft, 0);
    EXPECT_EQ(replayed.State().CapturedRefusal, 1);
    const auto prompts = m_sink.Texts(VoiceActionKind::ShowPrompt);
    EXPECT_EQ(std::count(prompts.begin(), prompts.end(), std::string(literal::kCapturedReading)), 2);
    EXPECT_EQ(std::count(prompts.begin(), prompts.end(), std::string(StringText(VoiceString::Accepted))), 0);
    EXPECT_EQ(ReadLog(),
        "[26-03-15 09:41:02] alice : Logon : Accept\n"
        "[26-03-15 09:41:02] alice : Logon : Denied (replay of an accepted reading)\n");
    replayed.Finish();

    // A recording of the enrolment is refused too.
    m_sink.Forget();
    VoiceFlow& enrolment = VerifyFlow(0, 1, {warden::test::Replay(Takes(kOwner, 2, 1).front(), 13)});
    enrolment.State().AttemptsLeft = 1;
    RunTimed(ms);
    EXPECT_EQ(enrolment.Result(), 2);
    EXPECT_EQ(m_sink.LastPrompt(), literal::kCapturedReading);
    enrolment.Finish();

    // The user saying the word again is let in, and a plain denial afterwards gives the plain line.
    m_sink.Forget();
    VoiceFlow& again = VerifyFlow(0, 1, {FreshReading(kOwner, 7, 0.96)});
    RunTimed(ms);
    EXPECT_EQ(again.Result(), 1) << m_sink.LastPrompt();
    EXPECT_EQ(again.State().CapturedRefusal, 0);
    again.Finish();
    VoiceFlow& stranger = VerifyFlow(0, 1, Takes(kStranger, 6, 1));
    stranger.State().AttemptsLeft = 1;
    RunTimed(ms);
    EXPECT_EQ(stranger.Result(), 2);
    EXPECT_EQ(stranger.State().CapturedRefusal, 0);
    const std::string log = ReadLog();
    EXPECT_EQ(log.substr(log.rfind('[')), "[26-03-15 09:41:02] alice : Logon : Denied\n");
}

TEST_F(VoiceFlowSessionTest, ModelTestPassesAtTheFourthAcceptance)
{
    std::vector<double> ms;
    Enrol(kOwner, ms, false);
    VoiceFlow& test = VerifyFlow(4, VoiceFlow::kModelTestRepeat, Takes(kOwner, 6, 8));
    RunTimed(ms);
    ASSERT_TRUE(test.Ended());
    EXPECT_EQ(test.Result(), 1);
    EXPECT_EQ(test.State().AcceptCount, 4);
    EXPECT_EQ(test.State().TakeCount, 4);
    EXPECT_EQ(ReadLog(), "") << "the model test writes no log";
}

TEST_F(VoiceFlowSessionTest, ModelTestFailsOnceFourAcceptancesAreOutOfReach)
{
    std::vector<double> ms;
    Enrol(kOwner, ms, false);
    VoiceFlow& test = VerifyFlow(4, VoiceFlow::kModelTestRepeat, Takes(kStranger, 6, 8));
    RunTimed(ms);
    ASSERT_TRUE(test.Ended());
    EXPECT_EQ(test.Result(), 2);
    EXPECT_EQ(test.State().AcceptCount, 0);
    EXPECT_EQ(test.State().TakeCount, 5) << "after five denials four acceptances need more than three readings";
    EXPECT_EQ(m_sink.LastPrompt(), StringText(VoiceString::EnrolFailed));
    EXPECT_EQ(ReadLog(), "");
}

TEST_F(VoiceFlowSessionTest, ExitWhileRecordingEndsAfterTheReadingWithoutADecision)
{
    std::vector<double> ms;
    Enrol(kOwner, ms);
    VoiceFlow& flow = VerifyFlow(2, 1, Takes(kOwner, 6, 1));
    Run();
    flow.PressButton(kButtonRecord);
    Run([&](VoiceFlow& running, bool after) {
        if (!after && running.State().TickCount == 10)
            running.PressButton(kButtonExit);
    });
    ASSERT_TRUE(flow.Ended());
    EXPECT_EQ(flow.Result(), 2);
    EXPECT_EQ(flow.State().TickCount, 30) << "the reading ran to its end";
    EXPECT_EQ(flow.State().AcceptCount, 0);
    EXPECT_EQ(ReadLog(), "");
}

} // namespace
} // namespace voice_test
