#pragma once

#include "TalkExport.h"
#include "skin/SkinDlg.h"
#include "voice/VoiceDlgCopy.h"
#include "voice/VoiceFlowVariant.h"
#include "voice/WaveRecorder.h"

#include <QTimer>

#include <array>
#include <memory>
#include <string>

class CAppUserDic;
class CAppUserVoiceDic;
class CSetupFile;
class CSkinCombo;
class CSkinEdit;
class CStaticToolTip;
class MixerLogic;
class MixerWatcher;
class QKeyEvent;
class QMouseEvent;

namespace talk::voice {
class DriveSelectDlg;
class VoiceDlgSession;
struct VoiceAction;
} // namespace talk::voice

/**
 * The voice dialog (template 3000): enrols a password word or verifies a user by his voice. Every program
 * of the suite that talks to a user by voice shows this dialog modally.
 *
 * The caller sets the inputs (Purpose ... Nick) and the three store pointers, shows the dialog with exec()
 * and reads the result (1 accepted or trained, 2 cancelled, denied or failed) and the outputs UserID, Word,
 * Nick and ModelCreated. The decisions are the display-free talk::voice::VoiceFlow's; this window forwards
 * its events (timers, skin buttons, Enter, the entry controls) to the flow and carries out the flow's
 * actions. Escape never closes it; a left click anywhere moves it. UI thread only; nothing throws out.
 */
class TALK_API CVoiceDlg : public CSkinDlg
{
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 3000;
    static constexpr int kTimerCount = 4;

    explicit CVoiceDlg(QWidget* parent = nullptr);
    ~CVoiceDlg() override;

    // Inputs, set before the dialog is shown.
    int Purpose = 0; // 0 Logon, 1 Encrypt, 2 Decrypt, 3 Setting, 4 User
    int Mode = 1; // 1 enrol, 2 verify
    int EnrolRepeat = 5;
    int VerifyRepeat = 1; // 8: the model test after an enrolment
    // Inputs and outputs.
    std::string UserID;
    std::string Word;
    std::string Nick;
    // Output: 1 when the enrolment trained a model.
    int ModelCreated = 0;
    // Where the caller's copy of the dialog departs from the shared one (default: none).
    talk::voice::VoiceFlowVariant FlowVariant;
    // The caller's stores; they must outlive the dialog.
    CSetupFile* SetupFile = nullptr;
    CAppUserDic* UserDic = nullptr;
    CAppUserVoiceDic* VoiceDic = nullptr;

    /** Where readings come from; unset, the machine's microphone (or WARDEN_AUDIO_INPUT). Before showing. */
    void SetCaptureFactory(WaveRecorder::CaptureFactory factory);

    /** True while the dialog waits for the user to start a reading: started, no recording, no timer due. */
    bool IsWaitingForUser() const;
    /** The skin's prompt window (shown when the skin enables label tips). */
    CStaticToolTip& ToolTip() const { return *m_toolTip; }

    bool OnInitDialog() override;
    void PressButtonID(int id) override;
    void ProgressChanged(const std::string& name) override;

public slots:
    /** Never closes the dialog: Escape and a failed skin load both come here. */
    void reject() override;
    /** Enter: the flow decides whether it records. */
    void accept() override;

protected:
    /** A program's own copy of the dialog: its control ids, mixer rule, drive window and flow. */
    CVoiceDlg(talk::voice::VoiceDlgCopy copy, QWidget* parent);

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    /** Ends the flow and frees what the session holds; a copy whose flow uses its own objects calls it first. */
    void ReleaseSession();

private:
    friend class talk::voice::VoiceDlgSession;

    bool Apply(const talk::voice::VoiceAction& action);
    void ApplyLayout(int layout);
    void SetFieldText(int controlId, const std::string& text);
    void SetComboWords(const talk::voice::VoiceAction& action);
    void ShowPrompt(const std::string& text);
    bool PlaySound(const std::string& path);
    void StartTimer(int id, int ms);
    void KillTimer(int id);
    void DrawWave(const talk::voice::VoiceAction& action);
    void Focus(int controlId);
    void EndDialog(int result);
    void ForwardFieldChange(int controlId, const QString& text);
    void OpenMixer();
    void CentreOnScreen();
    void AttachToolTip();
    bool MixerLive() const;

    talk::voice::VoiceDlgCopy m_copy;
    CSkinEdit* m_idEdit;
    CSkinCombo* m_wordCombo;
    CSkinEdit* m_passwordEdit;
    std::unique_ptr<CStaticToolTip> m_toolTip;
    std::unique_ptr<talk::voice::DriveSelectDlg> m_drives;
    std::unique_ptr<talk::voice::VoiceDlgSession> m_session;
    std::unique_ptr<MixerLogic> m_mixer;
    MixerWatcher* m_mixerWatcher = nullptr;
    WaveRecorder::CaptureFactory m_captureFactory;
    std::array<QTimer, kTimerCount> m_timers;
    bool m_applying = false;
};
