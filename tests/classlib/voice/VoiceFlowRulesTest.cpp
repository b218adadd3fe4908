// The voice flow's rules on a scripted engine: methods, permissions, prompts, failures, keys and the
// by-pass key. The readings are silent files; the engine's answers come from the script.
#include "VoiceFlowHarness.h"

#include <deque>
#include <fstream>

namespace voice_test {
namespace {

/** An engine whose answers the test queues; unqueued calls succeed. */
class ScriptedEngine : public VoiceEngine
{
public:
    struct Endpoint
    {
        int taken = 1;
        int error = 0;
    };

    bool Initialize() override { return true; }
    void Destruct() override { ++destructs; }
    void DestructMemories() override { }
    void SetbNetVersion(int) override { }
    void PutDir(const std::string& folder) override { this->folder = folder; }
    void PutID(const std::string& id) override { this->id = id; }
    void PutPW(const std::string&) override { }
    void PutNick(const std::string& code) override { nick = code; }
    void PutMode(int) override { }
    void PutMaxRepeat(int) override { }
    void AnalParams(int, int, int, int) override { }
    void NoiseParams(int, double, int) override { }
    void EngineParams(int, int, int, int) override { }
    void CopyParams(double) override { }
    void SetbSpeech(int) override { }
    void SameWordDist(float) override { }
    void HMMParams(int, double, double, double, double) override { }
    void EPDParams(int, int, int, int) override { }
    void Security(float) override { }
    int GetEndpointShort(int16_t*, int, int trimEnd) override
    {
        lastTrimEnd = trimEnd;
        current = Next(endpoints, Endpoint {});
        return current.taken;
    }
    int64_t GetEndpointValue() override { return (int64_t {120} << 32) | 30; }
    int GetShiftValue() override { return 80; }
    int GetErrorNumber() override { return current.error; }
    std::string GetLabelString() override { return label; }
    int CheckSexSpeech(int16_t*, int, int index) override
    {
        slots.push_back(index);
        return Next(wordChecks, 1);
    }
    int Train() override
    {
        ++trainings;
        return Next(trainResults, 1);
    }
    int Verify() override { return Next(verifyResults, 1); }
    int VCopy() override { return Next(liveResults, 1); }
    int GetbUpdate() override { return 0; }

    std::deque<Endpoint> endpoints;
    std::deque<int> wordChecks;
    std::deque<int> trainResults;
    std::deque<int> verifyResults;
    std::deque<int> liveResults;
    std::string label;
    std::string folder;
    std::string id;
    std::string nick;
    std::vector<int> slots;
    Endpoint current;
    int lastTrimEnd = -1;
    int trainings = 0;
    int destructs = 0;

private:
    template<typename T> static T Next(std::deque<T>& queue, T otherwise)
    {
        if (queue.empty())
            return otherwise;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

class VoiceFlowRulesTest : public VoiceFlowTest
{
protected:
    void SetUp() override
    {
        VoiceFlowTest::SetUp();
        QueueReadings({std::vector<int16_t>(33075, 0)});
    }

    void SetMethods(int logonMode, int fileMode)
    {
        CSetupSecure::tagSecureSettings settings = m_setup.GetSecureAppSettings();
        settings.logonAuthMode = logonMode;
        settings.fileAuthMode = fileMode;
        ASSERT_EQ(m_setup.SetSecureAppSettings(settings), 1);
    }

    VoiceFlow& Started(int mode, int purpose, const std::string& id)
    {
        VoiceFlow& flow = MakeFlow(&m_engine);
        flow.State().Mode = mode;
        flow.State().Purpose = purpose;
        flow.State().UserID = id;
        flow.Start();
        Run();
        return flow;
    }

    // Presses Record and runs until the flow ends or waits again.
    void Record(VoiceFlow& flow)
    {
        flow.PressButton(kButtonRecord);
        Run();
    }

    int Readings() const { return m_sink.Count(VoiceActionKind::RecordingStarted); }

    int LastLayout() const
    {
        int layout = -1;
        for (const VoiceAction& action : m_sink.Actions()) {
            if (action.kind == VoiceActionKind::ApplyLayout)
                layout = action.value;
        }
        return layout;
    }

    ScriptedEngine m_engine;
};

// ---- authentication methods ---------------------------------------------------------------------------

TEST_F(VoiceFlowRulesTest, VoiceOnlyAsksForTheIdAndRecordsTheUsersWord)
{
    AddUser("bob", "pw-bob", 1, 1, 1, 1, "abj");
    SetMethods(1, 1);
    VoiceFlow& flow = Started(2, 0, "");
    EXPECT_EQ(LastLayout(), 1);
    EXPECT_EQ(m_sink.LastPrompt(), StringText(VoiceString::PressRecord));
    flow.SetFieldText(kIdField, "bob");
    Record(flow);
    ASSERT_TRUE(flow.Ended());
    EXPECT_EQ(flow.Result(), 1);
    EXPECT_EQ(flow.State().Word, "さくらんぼ");
    EXPECT_EQ(m_engine.nick, "abj");
    EXPECT_EQ(m_engine.folder, m_program);
    EXPECT_EQ(Readings(), 1);
    EXPECT_EQ(ReadLog(), "[26-03-15 09:41:02] bob : Logon : Accept\n");
}

TEST_F(VoiceFlowRulesTest, PasswordOnlyEndsAcceptedWithoutAReading)
{
    AddUser("bob", "pw-bob", 1, 1, 1, 1, "abj");
    SetMethods(1, 2);
    VoiceFlow& flow = Started(2, 1, "bob");
    EXPECT_EQ(LastLayout(), 3);
    EXPECT_EQ(m_sink.LastPrompt(), literal::kEnterIdAndPassword);
    flow.SetFieldText(kPasswordField, "wrong");
    Record(flow);
    EXPECT_FALSE(flow.Ended());
    EXPECT_EQ(m_sink.LastPrompt(), literal::kWrongPassword);
    EXPECT_TRUE(m_sink.Contains(VoiceActionKind::ClearField));
    EXPECT_EQ(flow.State().EnterRecords, 1);
    flow.SetFieldText(kPasswordField, "pw-bob");
    flow.PressEnter();
    ASSERT_TRUE(flow.Ended());
    EXPECT_EQ(flow.Result(), 1);
    EXPECT_EQ(Readings(), 0);
}

TEST_F(VoiceFlowRulesTest, PasswordThenVoiceStartsAFreshSessionWithLabels)
{
    AddUser("bob", "pw-bob", 1, 1, 1, 1, "abj");
    SetMethods(0, 1);
    VoiceFlow& flow = Started(2, 0, "bob");
    flow.SetFieldText(kPasswordField, "pw-bob");
    flow.PressButton(kButtonRecord);
    EXPECT_EQ(flow.State().PasswordPassed, 1);
    EXPECT_EQ(LastLayout(), 0);
    EXPECT_EQ(Readings(), 0) << "the voice part waits for its own start";
    Run();
    EXPECT_EQ(m_sink.LastPrompt(), StringText(VoiceString::PressRecord));
    Record(flow);
    ASSERT_TRUE(flow.Ended());
    EXPECT_EQ(flow.Result(), 1);
    EXPECT_EQ(Readings(), 1);
}

// ---- permissions ---------------------------------------------------------------------------------------

struct PermissionCase
{
    int purpose;
    int group; // 0 administrator, 1 general user
    int logon, encrypt, decrypt;
    bool allowed;
};

class VoiceFlowPermissionTest : public VoiceFlowRulesTest, public testing::WithParamInterface<PermissionCase>
{
};

TEST_P(VoiceFlowPermissionTest, EachPurposeChecksItsOwnRight)
{
    const PermissionCase& c = GetParam();
    AddUser("carol", "pw-carol", c.group, c.logon, c.encrypt, c.decrypt, "aaj");
    SetMethods(1, 1);
    VoiceFlow& flow = Started(2, c.purpose, "carol");
    flow.SetFieldText(kIdField, "carol");
    flow.SetFieldText(kPasswordField, "pw-carol"); // the setting purpose asks for the password first
    Record(flow);
    if (flow.State().PasswordPassed == 1) {
        Record(flow);
    }
    if (c.allowed) {
        EXPECT_EQ(flow.Result(), 1) << m_sink.LastPrompt();
    } else {
        EXPECT_FALSE(flow.Ended());
        EXPECT_EQ(m_sink.LastPrompt(), StringText(VoiceString::NoPermission));
        EXPECT_EQ(Readings(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Purposes, VoiceFlowPermissionTest,
    testing::Values(PermissionCase {0, 1, 0, 1, 1, false}, PermissionCase {0, 1, 1, 0, 0, true},
        PermissionCase {1, 1, 1, 0, 1, false}, PermissionCase {1, 1, 0, 1, 0, true},
        PermissionCase {2, 1, 1, 1, 0, false}, PermissionCase {2, 1, 0, 0, 1, true},
        PermissionCase {3, 1, 1, 1, 1, false}, PermissionCase {3, 0, 0, 0, 0, true},
        PermissionCase {4, 1, 0, 0, 0, true}));

TEST_F(VoiceFlowRulesTest, AnUnknownUserIsRefusedLikeOneWithoutTheRight)
{
    SetMethods(1, 1);
    VoiceFlow& flow = Started(2, 1, "nobody");
    Record(flow);
    EXPECT_EQ(m_sink.LastPrompt(), StringText(VoiceString::NoPermission));
    EXPECT_EQ(Readings(), 0);
}

// ---- identity prompts ------------------------------------------------------------------------------------

TEST_F(VoiceFlowRulesTest, AnEmptyIdIsAskedForAndTheLastUserFillsItIn)
{
    AddUser("dave", "pw", 1, 1, 1, 1, "aaj");
    VoiceFlow& flow = Started(2, 4, "");
    Record(flow);
    EXPECT_EQ(m_sink.LastPrompt(), StringText(VoiceString::EnterId));
    EXPECT_EQ(Readings(), 0);
    EXPECT_FALSE(flow.Ended());

    ASSERT_EQ(m_setup.SetLastUserProgram("dave"), 1);
    VoiceFlow& next = Started(2, 4, "");
    EXPECT_EQ(next.State().UserID, "dave");
    Record(next);
    EXPECT_EQ(next.Result(), 1);
}

TEST_F(VoiceFlowRulesTest, AUserWithoutEnrolledWordsCannotRecord)
{
    AddUser("erin", "pw", 1, 1, 1, 1, "");
    VoiceFlow& flow = Started(2, 4, "erin");
    Record(flow);
    EXPECT_EQ(m_sink.LastPrompt(), literal::kNoEnrolledVoice);
    EXPECT_EQ(Readings(), 0);

    AddUser("fred", "pw", 1, 1, 1, 1, "zzz");
    VoiceFlow& unknownWords = Started(2, 4, "fred");
    Record(unknownWords);
    EXPECT_EQ(m_sink.LastPrompt(), "[fred]は初登録です。ボイスパスワードを登録してください。");
    EXPECT_EQ(Readings(), 0);
}

TEST_F(VoiceFlowRulesTest, OnlyTheFirstSixWordsOfTheListAreOffered)
{
    CIniFile ini(m_program + "/halvox.ini");
    ini.WriteString(CSetupFile::kSectionWordList, "afj", "あまのがわ");
    AddUser("gina", "pw", 1, 1, 1, 1, "zz1,zz2,zz3,zz4,zz5,zz6,afj");
    VoiceFlow& flow = Started(2, 4, "gina");
    Record(flow);
    EXPECT_EQ(m_sink.LastPrompt(), "[gina]は初登録です。ボイスパスワードを登録してください。");
}

// ---- failed readings, Exit, Escape and Enter ---------------------------------------------------------------

TEST_F(VoiceFlowRulesTest, FourFailedReadingsInARowReturnToIdle)
{
    AddUser("bob", "pw", 1, 1, 1, 1, "aaj");
    m_engine.endpoints.assign(4, {0, -2});
    VoiceFlow& flow = Started(2, 4, "bob");
    Record(flow);
    EXPECT_FALSE(flow.Ended());
    EXPECT_EQ(Readings(), 4);
    EXPECT_FALSE(m_sink.AnyTimer());
    EXPECT_EQ(flow.State().FailCount, 0);
    EXPECT_EQ(m_sink.LastPrompt(), StringText(VoiceString::TooQuiet)) << "Idle keeps the last reason";
    const auto prompts = m_sink.Texts(VoiceActionKind::ShowPrompt);
    EXPECT_EQ(std::count(prompts.begin(), prompts.end(), StringText(VoiceString::TooQuiet)), 4);

    m_sink.Forget();
    Record(flow); // the user starts again: a good reading now decides
    EXPECT_EQ(flow.Result(), 1);
    EXPECT_EQ(m_sink.Texts(VoiceActionKind::ShowPrompt).front(), StringText(VoiceString::ReadOnceMore));
}

TEST_F(VoiceFlowRulesTest, EachRejectionNamesItsReason)
{
    AddUser("bob", "pw", 1, 1, 1, 1, "aaj");
    m_engine.endpoints = {{0, -1}, {0, -3}, {0, -9}};
    VoiceFlow& flow = Started(2, 4, "bob");
    Record(flow);
    const auto prompts = m_sink.Texts(VoiceActionKind::ShowPrompt);
    EXPECT_NE(std::find(prompts.begin(), prompts.end(), StringText(VoiceString::AbnormalLength)), prompts.end());
    EXPECT_NE(std::find(prompts.begin(), prompts.end(), StringText(VoiceString::TooLoud)), prompts.end());
    EXPECT_EQ(flow.Result(), 1);
}

TEST_F(VoiceFlowRulesTest, EscapeIsIgnoredAndEnterRecordsOnlyWhenAllowed)
{
    AddUser("bob", "pw", 1, 1, 1, 1, "aaj");
    VoiceFlow& flow = MakeFlow(&m_engine);
    flow.State().Mode = 2;
    flow.State().Purpose = 4;
    flow.State().UserID = "bob";
    flow.Start();
    flow.PressEnter(); // before the session has started
    flow.PressEscape();
    EXPECT_EQ(Readings(), 0);
    EXPECT_FALSE(flow.Ended());
    Run();
    flow.PressEscape();
    EXPECT_FALSE(flow.Ended());
    EXPECT_FALSE(m_sink.Contains(VoiceActionKind::End));
    flow.PressEnter();
    EXPECT_EQ(Readings(), 1);
}

TEST_F(VoiceFlowRulesTest, ExitWhileIdleEndsAtOnce)
{
    AddUser("bob", "pw", 1, 1, 1, 1, "aaj");
    VoiceFlow& flow = Started(2, 4, "bob");
    flow.PressButton(kButtonExit);
    EXPECT_EQ(flow.Result(), 2);
    EXPECT_TRUE(m_sink.Contains(VoiceActionKind::DetachToolTip));
}

TEST_F(VoiceFlowRulesTest, ExitDuringAFailedReadingEndsBeforeTheNextOne)
{
    AddUser("bob", "pw", 1, 1, 1, 1, "aaj");
    m_engine.endpoints = {{0, -2}};
    VoiceFlow& flow = Started(2, 4, "bob");
    flow.PressButton(kButtonRecord);
    Run([](VoiceFlow& running, bool after) {
        if (!after && running.State().TickCount == 5)
            running.PressButton(kButtonExit);
    });
    EXPECT_EQ(flow.Result(), 2);
    EXPECT_EQ(Readings(), 1);
}

// ---- enrolment -------------------------------------------------------------------------------------------

TEST_F(VoiceFlowRulesTest, EnrolmentUsesTheChosenWordAndEveryRepetitionSlot)
{
    VoiceFlow& flow = Started(1, 4, "newbie");
    EXPECT_EQ(LastLayout(), 2);
    flow.SetFieldText(kWordCombo, "かぶとむし");
    Record(flow);
    ASSERT_EQ(flow.Result(), 1);
    EXPECT_EQ(flow.State().Nick, "acj");
    EXPECT_EQ(m_engine.lastTrimEnd, 1) << "the word ends in a fricative";
    EXPECT_EQ(m_engine.slots, (std::vector<int> {0, 1, 2, 3, 4}));
    EXPECT_EQ(m_engine.id, "newbie");
    EXPECT_EQ(flow.State().ModelCreated, 1);
}

TEST_F(VoiceFlowRulesTest, NoisyReadingsAreTakenButCountedAndWarnedAboutBeforeTraining)
{
    m_engine.endpoints = {{1, -4}, {1, -5}};
    m_sink.m_answerYes = false;
    VoiceFlow& flow = Started(1, 4, "newbie");
    Record(flow);
    EXPECT_EQ(flow.State().EndpointErrorCount, 2);
    EXPECT_EQ(m_sink.m_questions, 1);
    const auto questions = m_sink.Texts(VoiceActionKind::AskYesNo);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], StringText(VoiceString::EnrolAnyway));
    EXPECT_EQ(flow.Result(), 2);
    EXPECT_EQ(m_engine.trainings, 0);
    EXPECT_EQ(flow.State().ModelCreated, 0);
}

TEST_F(VoiceFlowRulesTest, YesToTheWarningTrainsAndOneNoisyReadingAsksNothing)
{
    m_engine.endpoints = {{1, -4}, {1, -5}};
    VoiceFlow& flow = Started(1, 4, "newbie");
    Record(flow);
    EXPECT_EQ(m_sink.m_questions, 1);
    EXPECT_EQ(flow.Result(), 1);
    EXPECT_TRUE(m_sink.Contains(VoiceActionKind::StopButtonTimers));
    EXPECT_TRUE(m_sink.Contains(VoiceActionKind::ResumeButtonTimers));

    m_sink.m_questions = 0;
    m_engine.endpoints = {{1, -4}};
    VoiceFlow& once = Started(1, 4, "other");
    Record(once);
    EXPECT_EQ(m_sink.m_questions, 0);
    EXPECT_EQ(once.Result(), 1);
}

TEST_F(VoiceFlowRulesTest, EngineLabelLinesAreFailuresThatRepeatTheReading)
{
    m_engine.wordChecks = {1, 0};
    m_engine.trainResults = {0, 1};
    m_engine.label = "[HALVOX] Work memory error! maxRepeat changed";
    VoiceFlow& flow = Started(1, 4, "newbie");
    Record(flow);
    ASSERT_EQ(flow.Result(), 1);
    const auto prompts = m_sink.Texts(VoiceActionKind::ShowPrompt);
    EXPECT_NE(std::find(prompts.begin(), prompts.end(), m_engine.label), prompts.end());
    // The refused second reading is taken again into the same slot; the failed training takes one more.
    EXPECT_EQ(m_engine.slots, (std::vector<int> {0, 1, 1, 2, 3, 4, 4}));
    EXPECT_EQ(m_engine.trainings, 2);
}

TEST_F(VoiceFlowRulesTest, AWordCheckWithoutLabelNamesTheWord)
{
    m_engine.wordChecks = {0};
    VoiceFlow& flow = Started(1, 4, "newbie");
    Record(flow);
    const auto prompts = m_sink.Texts(VoiceActionKind::ShowPrompt);
    EXPECT_NE(std::find(prompts.begin(), prompts.end(), "[ひまわり]ではありません。"), prompts.end());
}

// ---- verification details --------------------------------------------------------------------------------

TEST_F(VoiceFlowRulesTest, AReplayedVoiceIsPointedOutButTheVerificationDecides)
{
    AddUser("bob", "pw", 1, 1, 1, 1, "aaj");
    m_engine.liveResults = {0};
    VoiceFlow& flow = Started(2, 4, "bob");
    Record(flow);
    const auto prompts = m_sink.Texts(VoiceActionKind::ShowPrompt);
    EXPECT_NE(std::find(prompts.begin(), prompts.end(), StringText(VoiceString::ReplayedVoice)), prompts.end());
    EXPECT_EQ(flow.Result(), 1);
}

TEST_F(VoiceFlowRulesTest, WithoutNarrationAResultIsFollowedByAPauseInsteadOfASound)
{
    AddUser("bob", "pw", 1, 1, 1, 1, "aaj");
    CIniFile(m_program + "/halvox.ini").WriteString(CSetupFile::kSectionVoiceRecog, CSetupFile::kKeyNarration, "0");
    VoiceFlow& flow = Started(2, 4, "bob");
    Record(flow);
    EXPECT_EQ(flow.Result(), 1);
    EXPECT_FALSE(m_sink.Contains(VoiceActionKind::PlaySound));
    const VoiceAction& beforeEnd = m_sink.Actions()[m_sink.Actions().size() - 2];
    EXPECT_EQ(beforeEnd.kind, VoiceActionKind::Pause);
    EXPECT_EQ(beforeEnd.value, 500);
}

// ---- by-pass key -----------------------------------------------------------------------------------------

class VoiceFlowBypassTest : public VoiceFlowRulesTest
{
protected:
    void SetUp() override
    {
        VoiceFlowRulesTest::SetUp();
        m_drive = Path("media/usb0");
        std::filesystem::create_directories(m_drive);
        m_drives.m_drive = m_drive;
    }
    void WriteKey(const std::string& bytes) { std::ofstream(m_drive + "/halvox.key", std::ios::binary) << bytes; }
    std::vector<std::string> Messages() const { return m_sink.Texts(VoiceActionKind::ShowMessage); }

    std::string m_drive;
};

TEST_F(VoiceFlowBypassTest, TheStoredKeyOnTheChosenDriveLetsTheUserIn)
{
    const std::string key = m_setup.GetSetupSecure().CreateBackupBypassKey();
    ASSERT_FALSE(key.empty());
    ASSERT_EQ(m_setup.GetSetupSecure().SetBackupBypassKey(key), 1);
    WriteKey(key + std::string(1, '\0') + "trailing bytes do not count");
    VoiceFlow& flow = Started(2, 0, "");
    flow.PressButton(kButtonFloppy);
    EXPECT_EQ(flow.Result(), 1);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(VoiceFlowBypassTest, AMissingOrWrongKeyIsReportedAndTheDialogGoesOn)
{
    ASSERT_EQ(m_setup.GetSetupSecure().SetBackupBypassKey("0123456789ABCDEF"), 1);
    VoiceFlow& flow = Started(2, 3, "");
    flow.PressButton(kButtonFloppy);
    WriteKey("0123456789ABCDEX");
    flow.PressButton(kButtonFloppy);
    m_drives.m_drive = "";
    flow.PressButton(kButtonFloppy); // cancelled
    EXPECT_FALSE(flow.Ended());
    EXPECT_EQ(Messages(), (std::vector<std::string> {literal::kBypassKeyMissing, literal::kBypassKeyWrong}));
    EXPECT_EQ(m_drives.m_asked, 3);
}

TEST_F(VoiceFlowBypassTest, AnInstallationWithoutAKeyRefusesAnEmptyFile)
{
    WriteKey("");
    VoiceFlow& flow = Started(2, 0, "");
    flow.PressButton(kButtonFloppy);
    EXPECT_FALSE(flow.Ended());
    EXPECT_EQ(Messages(), (std::vector<std::string> {literal::kBypassKeyWrong}));
}

TEST_F(VoiceFlowBypassTest, OtherPurposesIgnoreTheButton)
{
    ASSERT_EQ(m_setup.GetSetupSecure().SetBackupBypassKey("0123456789ABCDEF"), 1);
    WriteKey("0123456789ABCDEF");
    for (int purpose : {1, 2, 4}) {
        VoiceFlow& flow = Started(2, purpose, "");
        flow.PressButton(kButtonFloppy);
        EXPECT_FALSE(flow.Ended()) << "purpose " << purpose;
    }
    EXPECT_EQ(m_drives.m_asked, 0);
}

} // namespace
} // namespace voice_test
