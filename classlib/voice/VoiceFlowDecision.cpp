// The decision after each reading: word check, then enrolment, verification or the model test.
#include "voice/VoiceFlow.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "Setup/SetupFile.h"
#include "voice/ReadingHistory.h"

namespace talk::voice {

void VoiceFlow::OnProcess()
{
    if (m_ended)
        return;
    if (m_state.CancelRequested) {
        Emit(Act(VoiceActionKind::DetachToolTip));
        End(2);
        return;
    }
    m_state.Recording = 0;
    CloseRecorder();
    const int slot = m_state.Mode == 1 ? m_state.TakeCount - 1 : 0;
    if (m_services.engine->CheckSexSpeech(m_state.Samples.data(), m_state.SampleCount, slot) == 0) {
        // Every refusal of the engine, its work-memory and training lines included, is shown as it came.
        const std::string label = m_services.engine->GetLabelString();
        Prompt(label.empty() ? FormatString(VoiceString::NotTheWord, m_state.Word) : label);
        DrawResult(false);
        Pause(kResultPauseMs);
        m_state.LastTakeGood = 0;
        OnRecord();
        return;
    }
    if (m_state.Mode == 1)
        DecideEnrolment();
    else
        DecideVerification();
}

void VoiceFlow::DecideEnrolment()
{
    // An attacker may have recorded the enrolment as well as any unlock.
    m_enrolPrints.push_back(CurrentFingerprint());
    Prompt(FormatString(VoiceString::TakesRecorded, m_state.TakeCount));
    DrawResult(true);
    if (m_state.LastTakeGood == 1 && m_state.TakeCount >= m_state.EnrolRepeat) {
        m_state.TickCount = 0;
        if (m_state.EndpointErrorCount >= 2) {
            Emit(Act(VoiceActionKind::StopButtonTimers));
            const bool goOn
                = Emit(TextAct(VoiceActionKind::AskYesNo, m_state.Title, StringText(VoiceString::EnrolAnyway)));
            if (!goOn) {
                End(2);
                return;
            }
            Emit(Act(VoiceActionKind::ResumeButtonTimers));
        }
        TrainModel();
        return;
    }
    Pause(kResultPauseMs);
    OnRecord();
}

void VoiceFlow::TrainModel()
{
    Prompt(VoiceString::CreatingModel);
    if (m_services.engine->Train() != 0) {
        DrawResult(true);
        m_state.FailCount = 0;
        m_state.ModelCreated = 1;
        m_state.TakeCount = 1;
        RememberReadings(m_enrolPrints);
        m_enrolPrints.clear();
        End(1);
        return;
    }
    // The next good reading replaces the last slot and training runs again.
    m_state.FailCount = 0;
    m_state.ModelCreated = 0;
    Pause(kResultPauseMs);
    OnRecord();
}

void VoiceFlow::DecideVerification()
{
    Prompt(VoiceString::PleaseWait);
    VoiceEngine& engine = *m_services.engine;
    // A replayed voice is only pointed out; the verification still decides.
    if (engine.VCopy() == 0) {
        Prompt(VoiceString::ReplayedVoice);
        DrawResult(false);
    }
    const bool modelTest = m_state.VerifyRepeat == kModelTestRepeat;
    ReadingFingerprint print;
    if (!modelTest) {
        print = CurrentFingerprint();
        if (IsCapturedReading(print)) {
            RefuseCapturedReading();
            return;
        }
    }
    if (engine.Verify() != 0) {
        Prompt(VoiceString::Accepted);
        DrawResult(true);
        m_state.FailCount = 0;
        ++m_state.AcceptCount;
        if (!modelTest) {
            if (engine.GetbUpdate() != 0) {
                const std::string key = m_services.userDic->GetCertiKey(m_state.UserID);
                m_services.voiceDic->SetUserVoice(m_state.UserID, key, m_state.Nick);
            }
            RememberReadings({print});
            m_state.CapturedRefusal = 0;
            PlayResult(sound::kVerifyTrue);
            if (m_services.variant.rememberLastUser)
                m_services.setup->SetLastUserProgram(m_state.UserID);
            WriteLogFile(1);
            End(1);
            return;
        }
    } else {
        Prompt(VoiceString::Denied);
        DrawResult(false);
        m_state.FailCount = 0;
        if (!modelTest) {
            m_state.CapturedRefusal = 0;
            UseUpDeniedAttempt();
            return;
        }
    }
    if (m_state.LastTakeGood == 1)
        DecideModelTest();
}

ReadingFingerprint VoiceFlow::CurrentFingerprint() const
{
    return ComputeFingerprint(m_state.Samples.data(), m_state.SampleCount, m_wordFirst, m_wordLast, kSampleRate);
}

std::string VoiceFlow::ReadingHistoryPath() const
{
    const std::string& dicPath = m_services.voiceDic->GetVoiceDicPath();
    return dicPath.empty() ? std::string() : ReadingHistory::PathBeside(dicPath);
}

bool VoiceFlow::IsCapturedReading(const ReadingFingerprint& print)
{
    const std::string path = ReadingHistoryPath();
    if (path.empty())
        return false;
    // A damaged history reads as empty: the check may miss a replay then, but never locks the user out.
    ReadingHistory history(path);
    for (const ReadingFingerprint& kept : history.Recall(m_state.UserID, m_state.Nick))
        if (CompareFingerprints(kept, print).distance < kReplayDistance)
            return true;
    return false;
}

void VoiceFlow::RememberReadings(const std::vector<ReadingFingerprint>& prints)
{
    const std::string path = ReadingHistoryPath();
    if (path.empty() || prints.empty())
        return;
    // An unwritten history weakens the next check only; the decision already made stands.
    ReadingHistory history(path);
    (void)history.Remember(m_state.UserID, m_state.Nick, prints);
}

void VoiceFlow::RefuseCapturedReading()
{
    Prompt(literal::kCapturedReading);
    DrawResult(false);
    m_state.FailCount = 0;
    m_state.CapturedRefusal = 1;
    UseUpDeniedAttempt();
}

// A denial of either kind costs one attempt; the last one ends the session with its log line.
void VoiceFlow::UseUpDeniedAttempt()
{
    PlayResult(sound::kVerifyFalse);
    if (--m_state.AttemptsLeft <= 0) {
        WriteLogFile(0);
        End(2);
        return;
    }
    Pause(kResultPauseMs);
    OnRecord();
}

void VoiceFlow::DecideModelTest()
{
    if (m_state.AcceptCount >= kModelTestAccepts) {
        PlayResult(sound::kModelTrue);
        End(1);
        return;
    }
    const int stillNeeded = kModelTestAccepts - m_state.AcceptCount;
    if (m_state.TakeCount < kModelTestRepeat && stillNeeded <= kModelTestRepeat - m_state.TakeCount) {
        Pause(kResultPauseMs);
        OnRecord();
        return;
    }
    Prompt(VoiceString::EnrolFailed);
    PlayResult(sound::kModelFalse);
    End(2);
}

} // namespace talk::voice
