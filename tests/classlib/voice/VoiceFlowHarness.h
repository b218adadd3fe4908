#pragma once

// A window stand-in for the voice flow: records every action, runs its timers on a fake clock and
// answers its questions as the test says, plus an installation in a fresh system root.

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "FileCapture.h"
#include "IniFile.h"
#include "Setup/SetupFile.h"
#include "WavFile.h"
#include "voice/VoiceFlow.h"

#include <gtest/gtest.h>

#include "../../support/FreshRootTest.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace voice_test {

using namespace talk::voice;

/** Applies nothing, remembers everything; timers are kept so that the driver can fire them. */
class RecordingSink : public VoiceActionSink
{
public:
    bool Apply(const VoiceAction& action) override
    {
        m_actions.push_back(action);
        if (action.kind == VoiceActionKind::StartTimer)
            m_timers[action.id] = action.value;
        else if (action.kind == VoiceActionKind::KillTimer)
            m_timers.erase(action.id);
        else if (action.kind == VoiceActionKind::AskYesNo) {
            ++m_questions;
            return m_answerYes;
        } else if (action.kind == VoiceActionKind::PlaySound)
            return m_soundsPlay;
        return true;
    }

    const std::vector<VoiceAction>& Actions() const { return m_actions; }
    void Forget() { m_actions.clear(); }
    bool TimerRunning(int id) const { return m_timers.count(id) != 0; }
    bool AnyTimer() const { return !m_timers.empty(); }

    /** Texts of every action of `kind`, in order. */
    std::vector<std::string> Texts(VoiceActionKind kind) const
    {
        std::vector<std::string> texts;
        for (const VoiceAction& action : m_actions) {
            if (action.kind == kind)
                texts.push_back(action.text);
        }
        return texts;
    }
    std::string LastPrompt() const
    {
        const auto prompts = Texts(VoiceActionKind::ShowPrompt);
        return prompts.empty() ? std::string() : prompts.back();
    }
    bool Contains(VoiceActionKind kind) const
    {
        for (const VoiceAction& action : m_actions) {
            if (action.kind == kind)
                return true;
        }
        return false;
    }
    int Count(VoiceActionKind kind) const
    {
        int count = 0;
        for (const VoiceAction& action : m_actions)
            count += action.kind == kind ? 1 : 0;
        return count;
    }

    bool m_answerYes = true;
    bool m_soundsPlay = true;
    int m_questions = 0;

private:
    std::vector<VoiceAction> m_actions;
    std::map<int, int> m_timers;
};

/** A fixed wall clock. */
class FixedClock : public VoiceClock
{
public:
    std::tm LocalNow() override { return m_now; }
    std::tm m_now {};
};

/** Hands out the drives the test names, one per question. */
class ScriptedDrives : public BypassDriveChooser
{
public:
    std::string ChooseDrive() override
    {
        ++m_asked;
        return m_drive;
    }
    std::string m_drive;
    int m_asked = 0;
};

/**
 * One installation per test: the registered folder with settings, dictionaries, word list and the shipped
 * engine data, a fake millisecond clock that paces the file microphone, and a flow built on them.
 */
class VoiceFlowTest : public warden::test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        platform::audio::FileCapture::ResetFolderPositions();
        m_program = Path("program");
        std::filesystem::create_directories(m_program);
        ASSERT_EQ(m_setup.SetAppPath(m_program), 1);
        ASSERT_EQ(m_setup.Initialize(), 1);
        CIniFile ini(m_program + "/halvox.ini");
        ini.WriteString(CSetupFile::kSectionWordList, "aaj", "ひまわり");
        ini.WriteString(CSetupFile::kSectionWordList, "abj", "さくらんぼ");
        ini.WriteString(CSetupFile::kSectionWordList, "acj", "かぶとむし");
        ASSERT_EQ(m_users.SetUserDicFilePath(m_program + "/halvoxuid.dat"), 1);
        ASSERT_EQ(m_voices.SetVoiceDicPath(m_program), 1);
        m_readings = Path("no-readings");
        m_clock.m_now.tm_year = 126;
        m_clock.m_now.tm_mon = 2;
        m_clock.m_now.tm_mday = 15;
        m_clock.m_now.tm_hour = 9;
        m_clock.m_now.tm_min = 41;
        m_clock.m_now.tm_sec = 2;
    }

    void InstallEngineData()
    {
        namespace fs = std::filesystem;
        fs::copy(SHIPPED_ENGINE_DATA, m_program, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::create_directories(m_program + "/work");
        fs::create_directories(m_program + "/user");
    }

    /** Adds a user: group 0 administrator, 1 general; rights logon, encrypt, decrypt. */
    void AddUser(const std::string& id, const std::string& password, int group, int logon, int encrypt, int decrypt,
        const std::string& voices)
    {
        ASSERT_EQ(m_users.CreateUser(id, id, "", password, group, logon, encrypt, decrypt, voices), 1);
        ASSERT_EQ(m_voices.AddUser(id, m_users.GetCertiKey(id)), 1);
    }

    /**
     * Writes the readings the microphone of the next flow made will deliver, one file each, in this order,
     * into a folder of their own (the file microphone starts a folder again after its last file).
     */
    void QueueReadings(const std::vector<std::vector<int16_t>>& readings)
    {
        m_readings = Path("readings" + std::to_string(++m_sessions));
        std::filesystem::create_directories(m_readings);
        for (const auto& reading : readings) {
            char name[32];
            std::snprintf(name, sizeof name, "/%04d.wav", m_queued++);
            std::string error;
            ASSERT_TRUE(platform::audio::WriteWav(m_readings + name, 11025, reading, error)) << error;
        }
    }

    // The flow closes its engine session when it goes; a derived fixture's scripted engine must still be
    // there then, and members of a derived class are gone before this class's destructor runs.
    void TearDown() override
    {
        m_flow.reset();
        FreshRootTest::TearDown();
    }

    /** A flow over the installation; `engine` null means the real engine. */
    VoiceFlow& MakeFlow(VoiceEngine* engine = nullptr)
    {
        VoiceFlowServices services;
        services.setup = &m_setup;
        services.userDic = &m_users;
        services.voiceDic = &m_voices;
        services.engine = engine ? engine : &m_realEngine;
        services.clock = &m_clock;
        services.drives = &m_drives;
        services.sink = &m_sink;
        const std::string folder = m_readings;
        services.capture = [this, folder] {
            return std::make_unique<platform::audio::FileCapture>(folder, [this] { return m_milliseconds; });
        };
        m_flow = std::make_unique<VoiceFlow>(std::move(services));
        return *m_flow;
    }

    /**
     * Fires due timers until the flow ends or waits for the user (no timer left). Each recording tick
     * moves the fake clock on by the tick. `onTick(flow, false)` runs before every tick and
     * `onTick(flow, true)` after it.
     */
    template<typename OnTick> void Run(OnTick&& onTick)
    {
        for (int guard = 0; guard < 20000 && !m_flow->Ended(); ++guard) {
            int next = -1;
            for (int id : {0, 3, 2, 1}) {
                if (m_sink.TimerRunning(id)) {
                    next = id;
                    break;
                }
            }
            if (next < 0)
                return;
            if (next == 1) {
                m_milliseconds += VoiceFlow::kTickMs;
                onTick(*m_flow, false);
            }
            m_flow->OnTimer(next);
            if (next == 1)
                onTick(*m_flow, true);
        }
    }
    void Run()
    {
        Run([](VoiceFlow&, bool) {});
    }

    std::string ReadLog() const
    {
        std::ifstream in(m_program + "/result.log", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string m_program;
    std::string m_readings;
    CSetupFile m_setup;
    CAppUserDic m_users;
    CAppUserVoiceDic m_voices;
    HalvoxVoiceEngine m_realEngine;
    FixedClock m_clock;
    ScriptedDrives m_drives;
    RecordingSink m_sink;
    int64_t m_milliseconds = 1000;
    std::unique_ptr<VoiceFlow> m_flow;
    int m_queued = 0;
    int m_sessions = 0;
};

} // namespace voice_test
