#pragma once

#include "voice/ReadingFingerprint.h"
#include "voice/VoiceAction.h"
#include "voice/VoiceEngine.h"
#include "voice/VoiceFlowVariant.h"
#include "voice/VoicePorts.h"
#include "voice/VoiceTexts.h"
#include "voice/WaveRecorder.h"

#include <cstdint>
#include <string>
#include <vector>

class CSetupFile;
class CAppUserDic;
class CAppUserVoiceDic;

namespace talk::voice {

/**
 * The voice dialog's inputs, outputs and working state, named as the dialog's callers know them. The
 * caller sets the inputs (Purpose ... Nick, EnrolRepeat, VerifyRepeat) before VoiceFlow::Start and reads
 * the outputs (UserID, Word, Nick, ModelCreated and the result) after the flow has ended.
 */
struct VoiceFlowState
{
    // Inputs.
    int Purpose = 0; // 0 Logon, 1 Encrypt, 2 Decrypt, 3 Setting, 4 User
    int Mode = 1; // 1 enrol, 2 verify
    int EnrolRepeat = 5;
    int VerifyRepeat = 1; // 8 selects the model test
    std::string UserID;
    std::string Word;
    std::string Nick;
    // Outputs.
    int ModelCreated = 0;
    int CapturedRefusal = 0; // 1 when the last denied reading was refused as a replay of an accepted one
    // Working state.
    std::string AppPath;
    std::string SkinName;
    std::string Title;
    std::string TypedPassword;
    int AuthMethod = 1; // 0 voice after password, 1 voice only, 2 password only
    int Layout = 0;
    int PasswordPassed = 0;
    int AcceptCount = 0;
    int EndpointErrorCount = 0;
    int ShortWord = 0;
    int RecorderOpen = 0;
    int Narration = 1;
    int FailCount = 0;
    int MaxFail = 3;
    int EnterRecords = 0;
    int CancelRequested = 0;
    int TakeCount = 0;
    int TickCount = 0;
    int Recording = 0;
    int LastTakeGood = 1;
    int FirstPress = 1;
    std::vector<int16_t> Samples;
    int SampleCount = 0;
    int AttemptsLeft = 5;
};

/** What the flow works with; the caller owns every object and keeps it alive for the flow's lifetime. */
struct VoiceFlowServices
{
    CSetupFile* setup = nullptr;
    CAppUserDic* userDic = nullptr;
    CAppUserVoiceDic* voiceDic = nullptr;
    VoiceEngine* engine = nullptr;
    VoiceClock* clock = nullptr;
    BypassDriveChooser* drives = nullptr;
    VoiceActionSink* sink = nullptr;
    WaveRecorder::CaptureFactory capture; // empty: the machine's microphone (or WARDEN_AUDIO_INPUT)
    VoiceFlowVariant variant;
};

/**
 * The voice dialog without its window: enrolment (a word read EnrolRepeat times, then a model trained),
 * verification (identity, permission, one reading judged; up to five attempts), the model test (eight
 * readings, four acceptances needed), the typed-password methods and the by-pass key.
 *
 * How a widget drives it: construct it with the services, set the inputs through State(), call Start()
 * once the window exists, then forward every event — timer expiries (OnTimer), skin button presses
 * (PressButton), Enter and Escape, and each edit or combo change of controls 3001 to 3003 (SetFieldText).
 * While handling an event the flow hands its actions to the sink one by one (see VoiceAction.h); the
 * widget applies each on the spot. Everything happens on the UI thread: Qt changes widgets only there, so
 * even showing and hiding the entry controls (ApplyLayout) is an action rather than a worker thread.
 * After End the flow ignores further events; Finish() (or the destructor) closes the engine session.
 *
 * Nothing throws out of the public methods.
 */
class VoiceFlow
{
public:
    // Fixed engine parameters of every session.
    static constexpr int kSampleRate = 11025;
    static constexpr int kRecordLengthMs = 3000;
    static constexpr int kTickMs = 100;
    static constexpr int kWindowLength = 240;
    static constexpr int kFrameShift = 80;
    static constexpr int kStartDelayMs = 200;
    static constexpr int kResultPauseMs = 500;
    static constexpr int kModelTestRepeat = 8;
    static constexpr int kModelTestAccepts = 4;
    static constexpr int kMaxWordEntries = 6;
    static constexpr float kSecurityMargin = 0.3f;

    explicit VoiceFlow(VoiceFlowServices services);
    ~VoiceFlow();
    VoiceFlow(const VoiceFlow&) = delete;
    VoiceFlow& operator=(const VoiceFlow&) = delete;

    VoiceFlowState& State() noexcept { return m_state; }
    const VoiceFlowState& State() const noexcept { return m_state; }
    /** The recorder whose samples the waveform actions refer to. */
    const WaveRecorder& Recorder() const noexcept { return m_recorder; }

    void Start() noexcept;
    void OnTimer(int id) noexcept;
    void PressButton(int id) noexcept;
    void PressEnter() noexcept;
    void PressEscape() noexcept;
    /** The user changed control 3001, 3002 (the selected word) or 3003. */
    void SetFieldText(int controlId, const std::string& text) noexcept;
    /** Stops a running recording, frees the recorder and closes the engine session (once). */
    void Finish() noexcept;

    bool Ended() const noexcept { return m_ended; }
    /** 1 accepted or trained, 2 cancelled, denied or failed; 0 while running. */
    int Result() const noexcept { return m_result; }

    // Steps the dialog's copies and callers may drive directly.
    void OnRecord();
    void OnProcess();
    int CheckAuthUser(const std::string& id);
    int VerifySysUser();
    int VerifyCanRegisterVoicePassword();
    int SelectDrive();
    void WriteLogFile(int accepted);

private:
    // Start and timers.
    void ReadNarration();
    void ChooseMethodAndLayout();
    void StartSession();
    void StartPasswordSession();
    void ConfigureEngine(bool withMode);
    void Tick();
    void FinishReading();
    // Record step pieces.
    bool PasswordStep();
    bool ReadIdentity();
    bool PrepareVerifyWord();
    bool PrepareEnrolWord();
    void OpenRecorder();
    void CloseRecorder();
    void AnnounceReading();
    // Decision pieces.
    void DecideEnrolment();
    void DecideVerification();
    void DecideModelTest();
    void TrainModel();
    // Captured-unlock check.
    ReadingFingerprint CurrentFingerprint() const;
    std::string ReadingHistoryPath() const;
    bool IsCapturedReading(const ReadingFingerprint& print);
    void RememberReadings(const std::vector<ReadingFingerprint>& prints);
    void RefuseCapturedReading();
    void UseUpDeniedAttempt();
    // Actions.
    bool Emit(VoiceAction action);
    void Prompt(const std::string& text);
    void Prompt(VoiceString id);
    void PlayPrompt(const char* soundName);
    void PlayResult(const char* soundName);
    void SetLabel(const char* item, const std::string& text);
    void SetField(int controlId, const std::string& text);
    void SetComboWords(std::vector<std::string> words, int selected);
    void ShowRepeat();
    void ApplyLayout(int layout);
    void EnableAllButtons();
    void DisableRecordButtons();
    void StartTimer(int id, int ms);
    void KillTimer(int id);
    void Pause(int ms);
    void DrawResult(bool ok);
    void End(int result);
    std::string Field(int controlId) const;

    VoiceFlowServices m_services;
    VoiceFlowState m_state;
    WaveRecorder m_recorder;
    std::string m_idField;
    std::string m_wordField;
    std::string m_passwordField;
    std::vector<std::string> m_comboWords;
    bool m_recordEnabled = false;
    bool m_floppyEnabled = false;
    bool m_started = false;
    bool m_finished = false;
    bool m_ended = false;
    int m_result = 0;
    long m_wordFirst = 0; // samples of the word the endpoint detection found in the last reading
    long m_wordLast = 0;
    std::vector<ReadingFingerprint> m_enrolPrints;
};

} // namespace talk::voice
