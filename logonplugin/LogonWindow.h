#pragma once

#include "voice/VoiceDlg.h"

#include <functional>
#include <memory>
#include <string>

class MixerLogic;

namespace wardengate {

class LogonFlow;
struct LogonStores;

/** What a logon window is given besides what it finds on the machine. */
struct LogonWindowOptions
{
    /** The dialog's capture flag. Nothing in a logon clears it; false: no recorder, no mixer, password only. */
    bool captureAvailable = true;
    int forcedMethod = -1; // 0 to 2 in place of the secure settings' logon mode
    std::string userId; // the ID the dialog starts with
    int attempts = 0; // voice readings before the dialog gives up; 0 keeps the dialog's own number
    WaveRecorder::CaptureFactory capture; // unset: the microphone (or WARDEN_AUDIO_INPUT)
    std::function<int()> waveInputs; // unset: CountWaveInputs
    std::function<std::unique_ptr<MixerLogic>()> openMixer; // unset: the machine's default mixer
    std::function<std::string()> lastLogonUser; // the voice start's default ID; unset: the registry's
    std::function<std::string()> engineStatus; // the engine's last decision line, read when the flow ends
};

/**
 * The logon plug-in's own window of the voice dialog (template 3000, password edit 3002, word combo 3003),
 * driven by LogonFlow, so that its prompts, permission and outcomes are the logon's. It verifies once per
 * reading for the purpose Logon, cannot be dragged, opens the registered installation's stores itself and
 * frees them with the window, and leaves the mixer alone while the machine has no sound input. The by-pass
 * key button opens drive window 9000 at the mouse cursor.
 *
 * Show it with exec(): 1 when the user may log on (LogonUser and LogonPassword then say as whom), 2 otherwise.
 */
class LogonWindow final : public CVoiceDlg
{
public:
    static constexpr unsigned kDriveTemplateId = 9000;
    static constexpr int kDriveList = 5013;
    static constexpr int kDriveCloseButton = 9001;
    static constexpr const char* kDriveCloseText = "閉じる";

    explicit LogonWindow(LogonWindowOptions options = {}, QWidget* parent = nullptr);
    ~LogonWindow() override;

    bool OnInitDialog() override;

    const std::string& LogonUser() const;
    const std::string& LogonPassword() const;
    /** The engine's decision line of the last reading ("" when none was judged). */
    const std::string& EngineStatus() const;
    /** The flow of the running session (null before the window is shown). */
    LogonFlow* Flow() const { return m_flow; }

private:
    static talk::voice::VoiceDlgCopy LogonCopy(LogonWindow& window, const LogonWindowOptions& options);
    std::unique_ptr<talk::voice::VoiceDlgFlow> MakeFlow(talk::voice::VoiceFlowServices shared);
    int WaveInputs() const;

    LogonWindowOptions m_options;
    std::unique_ptr<LogonStores> m_stores;
    LogonFlow* m_flow = nullptr; // owned by the session of the dialog
};

} // namespace wardengate
