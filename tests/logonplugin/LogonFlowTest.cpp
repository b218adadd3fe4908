// The logon's copy of the voice dialog on a real installation in a fresh system root, with a scripted engine
// and a microphone of silence: what it hands to the host, and where it departs from the shared dialog.
#include "LogonFlow.h"
#include "LogonStores.h"
#include "LogonTexts.h"

#include "AudioCapture.h"
#include "IniFile.h"

#include "../support/FreshRootTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

namespace {

namespace voice = talk::voice;
using voice::VoiceAction;
using voice::VoiceActionKind;
using wardengate::LogonFlow;

/** Every reading is speech of the right word; Verify answers as the test says. */
class ScriptedEngine final : public voice::VoiceEngine
{
public:
    int verifyResult = 1;
    int verifyCalls = 0;

    bool Initialize() override { return true; }
    void Destruct() override { }
    void DestructMemories() override { }
    void SetbNetVersion(int) override { }
    void PutDir(const std::string&) override { }
    void PutID(const std::string&) override { }
    void PutPW(const std::string&) override { }
    void PutNick(const std::string&) override { }
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
    int GetEndpointShort(int16_t*, int, int) override { return 1; }
    int64_t GetEndpointValue() override { return 0; }
    int GetShiftValue() override { return 80; }
    int GetErrorNumber() override { return 0; }
    std::string GetLabelString() override { return ""; }
    int CheckSexSpeech(int16_t*, int, int) override { return 1; }
    int Train() override { return 1; }
    int Verify() override
    {
        ++verifyCalls;
        return verifyResult;
    }
    int VCopy() override { return 1; }
    int GetbUpdate() override { return 0; }
};

class SilentCapture final : public platform::audio::AudioCapture
{
public:
    uint32_t Open(const platform::audio::CaptureFormat&) override { return 0; }
    uint32_t Start() override { return 0; }
    size_t Read(int16_t* target, size_t maxSamples) override
    {
        std::fill(target, target + maxSamples, int16_t {0});
        return maxSamples;
    }
    uint32_t Stop() override { return 0; }
    uint32_t Close() override { return 0; }
    const std::string& ErrorText() const override { return m_error; }

private:
    std::string m_error;
};

class FixedClock final : public voice::VoiceClock
{
public:
    std::tm LocalNow() override { return std::tm {}; }
};

class FixedDrive final : public voice::BypassDriveChooser
{
public:
    std::string folder;
    int asked = 0;
    std::string ChooseDrive() override
    {
        ++asked;
        return folder;
    }
};

/** Keeps the window's side: every action, and the timers for the test to fire. */
class Window final : public voice::VoiceActionSink
{
public:
    std::vector<VoiceAction> actions;
    std::map<int, int> timers;

    bool Apply(const VoiceAction& action) override
    {
        actions.push_back(action);
        if (action.kind == VoiceActionKind::StartTimer)
            timers[action.id] = action.value;
        else if (action.kind == VoiceActionKind::KillTimer)
            timers.erase(action.id);
        return action.kind != VoiceActionKind::PlaySound;
    }
    std::vector<std::string> Prompts() const
    {
        std::vector<std::string> texts;
        for (const VoiceAction& action : actions) {
            if (action.kind == VoiceActionKind::ShowPrompt)
                texts.push_back(action.text);
        }
        return texts;
    }
    bool Prompted(const std::string& text) const
    {
        const auto prompts = Prompts();
        return std::find(prompts.begin(), prompts.end(), text) != prompts.end();
    }
};

class LogonFlowTest : public warden::test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        m_program = Path("program");
        std::filesystem::create_directories(m_program);
        CSetupFile setup;
        ASSERT_EQ(setup.SetAppPath(m_program), 1);
        ASSERT_EQ(setup.Initialize(), 1);
        CIniFile(m_program + "/halvox.ini").WriteString(CSetupFile::kSectionWordList, "aaj", "ひまわり");
        std::string error;
        ASSERT_TRUE(m_stores.Open(error)) << error;
        ASSERT_EQ(m_stores.users.CreateUser("tanaka", "tanaka", "", "se cret", 0, 1, 1, 1, "aaj"), 1);
        ASSERT_EQ(m_stores.voices.AddUser("tanaka", m_stores.users.GetCertiKey("tanaka")), 1);
        ASSERT_EQ(m_stores.setup.SetLastUserProgram("suzuki"), 1);
    }

    void SetMethod(int method)
    {
        CSetupSecure::tagSecureSettings settings = m_stores.setup.GetSecureAppSettings();
        settings.logonAuthMode = method;
        ASSERT_EQ(m_stores.setup.SetSecureAppSettings(settings), 1);
    }

    void Make(bool captureAvailable)
    {
        wardengate::LogonServices services;
        services.stores = &m_stores;
        services.engine = &m_engine;
        services.clock = &m_clock;
        services.drives = &m_drives;
        services.window = &m_window;
        services.capture = [] { return std::make_unique<SilentCapture>(); };
        services.lastLogonUser = [this] { return m_lastLogonUser; };
        m_flow = std::make_unique<LogonFlow>(std::move(services), captureAvailable);
        m_flow->Start();
        RunTimers();
    }

    // Fires the due timers as a window would, until the dialog waits for the user or has ended.
    void RunTimers()
    {
        for (int guard = 0; guard < 1000 && !m_window.timers.empty() && !m_flow->Ended(); ++guard) {
            const int id = m_window.timers.begin()->first;
            m_flow->OnTimer(id);
        }
    }

    void Type(const std::string& id, const std::string& password)
    {
        m_flow->SetFieldText(voice::kIdField, id);
        m_flow->SetFieldText(LogonFlow::kLogonPasswordField, password);
    }

    std::string m_program;
    wardengate::LogonStores m_stores;
    ScriptedEngine m_engine;
    FixedClock m_clock;
    FixedDrive m_drives;
    Window m_window;
    std::string m_lastLogonUser;
    std::unique_ptr<LogonFlow> m_flow;
};

TEST_F(LogonFlowTest, WithoutSoundCaptureThePasswordAloneDecidesWhateverTheSettingsSay)
{
    SetMethod(1);
    Make(false);
    EXPECT_TRUE(m_window.Prompted(wardengate::texts::kNoSoundCapture));
    EXPECT_FALSE(m_window.Prompted(wardengate::texts::kEnterIdAndPassword));
    Type("tanaka", "se cret");
    m_flow->PressEnter();
    ASSERT_TRUE(m_flow->Ended());
    EXPECT_EQ(m_flow->Result(), 1);
    EXPECT_EQ(m_flow->UserID(), "tanaka");
    EXPECT_EQ(m_flow->Password(), "se cret");
    EXPECT_EQ(m_engine.verifyCalls, 0);
}

TEST_F(LogonFlowTest, PasswordEditIsControl3002AndTheWordCombo3003)
{
    SetMethod(2);
    Make(true);
    EXPECT_TRUE(m_window.Prompted(wardengate::texts::kEnterIdAndPassword));
    m_flow->SetFieldText(voice::kIdField, "tanaka");
    m_flow->SetFieldText(LogonFlow::kLogonWordCombo, "se cret"); // the word combo is no password
    m_flow->PressEnter();
    EXPECT_FALSE(m_flow->Ended());
    bool clearedPassword = false;
    for (const VoiceAction& action : m_window.actions)
        clearedPassword |= action.kind == VoiceActionKind::ClearField && action.id == LogonFlow::kLogonPasswordField;
    EXPECT_TRUE(clearedPassword);
    Type("tanaka", "se cret");
    m_flow->PressEnter();
    EXPECT_EQ(m_flow->Result(), 1);
}

TEST_F(LogonFlowTest, AcceptedVoiceHandsOnTheStoredPasswordAndKeepsTheLastUser)
{
    SetMethod(1);
    m_lastLogonUser = "tanaka";
    Make(true);
    m_flow->PressEnter();
    RunTimers();
    ASSERT_TRUE(m_flow->Ended());
    EXPECT_EQ(m_flow->Result(), 1);
    EXPECT_EQ(m_flow->UserID(), "tanaka");
    EXPECT_EQ(m_flow->Password(), "se cret");
    EXPECT_TRUE(m_window.Prompted(wardengate::texts::kFirstReading));
    EXPECT_EQ(m_stores.setup.GetLastUserProgram(), "suzuki");
}

TEST_F(LogonFlowTest, VoiceStartTakesTheLastLogonAccountAndNeverTheProgramsLastUser)
{
    SetMethod(1);
    m_lastLogonUser = "";
    Make(true);
    m_flow->PressEnter();
    EXPECT_FALSE(m_flow->Ended());
    EXPECT_TRUE(m_window.Prompted(wardengate::texts::kEnterId));
    EXPECT_EQ(m_engine.verifyCalls, 0);
}

TEST_F(LogonFlowTest, DeniedVoiceHandsOnNothingAfterFiveReadings)
{
    SetMethod(1);
    m_lastLogonUser = "tanaka";
    m_engine.verifyResult = 0;
    Make(true);
    m_flow->PressEnter();
    RunTimers();
    ASSERT_TRUE(m_flow->Ended());
    EXPECT_EQ(m_flow->Result(), 2);
    EXPECT_EQ(m_engine.verifyCalls, 5);
    EXPECT_EQ(m_flow->UserID(), "");
    EXPECT_EQ(m_flow->Password(), "");
}

TEST_F(LogonFlowTest, BypassKeyNeedsAnIdBeforeAnyDriveAndThenOpensThatAccount)
{
    SetMethod(2);
    m_stores.setup.GetSetupSecure().SetBackupBypassKey("KEY-123");
    const std::string stick = Path("stick");
    std::filesystem::create_directories(stick);
    std::ofstream(stick + "/halvox.key") << "KEY-123";
    m_drives.folder = stick;
    Make(true);
    m_flow->SetFieldText(voice::kIdField, "");
    m_flow->PressButton(voice::kButtonFloppy);
    EXPECT_TRUE(m_window.Prompted(wardengate::texts::kBypassNeedsId));
    EXPECT_EQ(m_drives.asked, 0);
    EXPECT_FALSE(m_flow->Ended());
    Type("tanaka", "typed but never checked");
    m_flow->PressButton(voice::kButtonFloppy);
    ASSERT_TRUE(m_flow->Ended());
    EXPECT_EQ(m_flow->UserID(), "tanaka");
    EXPECT_EQ(m_flow->Password(), "se cret");
}

} // namespace
