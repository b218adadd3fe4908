#pragma once

#include "voice/VoiceDlgFlow.h"
#include "voice/VoiceFlow.h"

#include <functional>
#include <memory>
#include <string>

namespace wardengate {

struct LogonStores;

/** What a logon dialog's window needs besides the stores; each object outlives the flow. */
struct LogonServices
{
    LogonStores* stores = nullptr;
    talk::voice::VoiceEngine* engine = nullptr;
    talk::voice::VoiceClock* clock = nullptr;
    talk::voice::BypassDriveChooser* drives = nullptr;
    talk::voice::VoiceActionSink* window = nullptr; // receives the actions in the logon's control ids and wording
    WaveRecorder::CaptureFactory capture; // empty: the microphone (or WARDEN_AUDIO_INPUT)
    std::function<std::string()> lastLogonUser; // the voice start's default ID; unset: the registry's
    std::function<std::string()> engineStatus; // the engine's last decision line, read when the flow ends
    int forcedMethod = -1; // 0 to 2 in place of the secure settings' logon mode (voice only for PAM)
};

/**
 * The logon's copy of the voice dialog: always verifies, once per reading, for the purpose Logon, with the
 * method of the secure settings' logon mode. It answers what the logon host asks: which account and which
 * password to log on with. A typed password (password-only method) is handed on as typed; an accepted voice
 * or a matching by-pass key hands on the password the user dictionary holds for the ID.
 *
 * Its window swaps two control ids against the shared dialog: the password edit is 3002 and the word combo
 * 3003, in the events it forwards and in the actions it receives. Without sound capture the method is
 * password only. Drive it like talk::voice::VoiceFlow (a window drives it as its VoiceDlgFlow); nothing
 * throws out of the public methods.
 */
class LogonFlow final : public talk::voice::VoiceDlgFlow, private talk::voice::VoiceActionSink
{
public:
    static constexpr int kLogonPasswordField = 3002;
    static constexpr int kLogonWordCombo = 3003;

    /** `captureAvailable` false: no recorder, no mixer, and the password alone decides. */
    LogonFlow(LogonServices services, bool captureAvailable);
    ~LogonFlow() override;
    LogonFlow(const LogonFlow&) = delete;
    LogonFlow& operator=(const LogonFlow&) = delete;

    void Start() noexcept override;
    void OnTimer(int id) noexcept override;
    void PressButton(int id) noexcept override;
    void PressEnter() noexcept override;
    void PressEscape() noexcept override;
    /** The user changed control 3001, 3002 (password) or 3003 (word). */
    void SetFieldText(int controlId, const std::string& text) noexcept override;
    void Finish() noexcept override;

    bool Ended() const noexcept override { return m_flow->Ended(); }
    /** 1 when the user may log on (UserID and Password then hold what to log on with), 2 otherwise. */
    int Result() const noexcept { return m_flow->Result(); }
    const std::string& UserID() const noexcept { return m_userId; }
    const std::string& Password() const noexcept { return m_password; }
    /** The engine's decision line of the last reading ("" when none was judged). */
    const std::string& EngineStatus() const noexcept { return m_engineStatus; }
    /** The shared flow's state: the method, the number of attempts left. */
    talk::voice::VoiceFlowState& State() noexcept override { return m_flow->State(); }
    const talk::voice::VoiceFlowState& State() const noexcept override { return m_flow->State(); }
    const WaveRecorder& Recorder() const noexcept override { return m_flow->Recorder(); }

private:
    bool Apply(const talk::voice::VoiceAction& action) override;
    void Conclude(int result);
    void PressBypass();
    static int ToLogonId(int sharedId) noexcept;
    static int ToSharedId(int logonId) noexcept;

    LogonServices m_services;
    bool m_captureAvailable;
    bool m_bypassRunning = false;
    bool m_bypassPassed = false;
    std::string m_idField;
    std::string m_userId;
    std::string m_password;
    std::string m_engineStatus;
    std::unique_ptr<talk::voice::VoiceFlow> m_flow;
};

} // namespace wardengate
