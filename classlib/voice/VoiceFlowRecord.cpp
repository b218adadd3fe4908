// The record step and the recording ticks of the voice flow.
#include "voice/VoiceFlow.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "Setup/SetupFile.h"
#include "UserRecord.h"

#include <algorithm>
#include <random>

namespace talk::voice {
namespace {

constexpr int kTickTimer = 1;
constexpr int kStartTimer = 0;
constexpr int kIdentityPauseMs = 100;

bool IsShortWord(const std::string& nick)
{
    // These words end in a voiceless fricative, whose tail the end refinement keeps out of the segment.
    return nick == "acj" || nick == "adj" || nick == "aej";
}

} // namespace

void VoiceFlow::OnRecord()
{
    if (m_ended)
        return;
    m_state.UserID = Field(kIdField);
    m_state.TypedPassword = Field(kPasswordField);
    if (m_state.CancelRequested) {
        Emit(Act(VoiceActionKind::DetachToolTip));
        End(2);
        return;
    }
    if (!PasswordStep())
        return;
    if (!m_recordEnabled)
        return;
    DisableRecordButtons();
    if (m_state.FailCount > m_state.MaxFail) {
        // Too many failures in a row: back to Idle until the user presses Record again.
        m_state.FailCount = 0;
        Emit(Act(VoiceActionKind::ClearWaveArea));
        m_state.Recording = 0;
        CloseRecorder();
        EnableAllButtons();
        return;
    }
    if (m_state.FirstPress == 1 && !ReadIdentity())
        return;
    OpenRecorder();
    Emit(Act(VoiceActionKind::ClearWaveArea));
    m_state.TickCount = 0;
    AnnounceReading();
    ShowRepeat();
    m_state.Recording = 1;
    m_recorder.Begin();
    Emit(Act(VoiceActionKind::RecordingStarted));
    StartTimer(kTickTimer, kTickMs);
}

// Returns true when the voice part may go on now.
bool VoiceFlow::PasswordStep()
{
    const bool passwordDue = (m_state.AuthMethod == 0 && m_state.PasswordPassed == 0) || m_state.AuthMethod == 2;
    if (!passwordDue || m_state.VerifyRepeat == kModelTestRepeat)
        return true;
    if (CheckAuthUser(m_state.UserID) == 0) {
        EnableAllButtons();
        return false;
    }
    if (VerifySysUser() == 0) {
        SetFieldText(kPasswordField, "");
        Emit(Act(VoiceActionKind::ClearField, kPasswordField));
        return false;
    }
    if (m_state.AuthMethod == 2) {
        End(1);
        return false;
    }
    // The voice part starts as a fresh session, with the identity shown as labels.
    m_state.PasswordPassed = 1;
    m_state.Layout = 0;
    ApplyLayout(m_state.Layout);
    EnableAllButtons();
    StartTimer(kStartTimer, kStartDelayMs);
    return false;
}

bool VoiceFlow::ReadIdentity()
{
    const std::string id = Field(kIdField);
    if (id.empty()) {
        Prompt(VoiceString::EnterId);
        EnableAllButtons();
        return false;
    }
    m_state.UserID = id;
    SetLabel(kLabelId, id);
    const bool ready = m_state.Mode == 1 ? PrepareEnrolWord() : PrepareVerifyWord();
    if (!ready)
        return false;
    m_state.ShortWord = IsShortWord(m_state.Nick) ? 1 : 0;
    m_state.Layout = 0;
    ApplyLayout(m_state.Layout);
    m_state.FirstPress = 0;
    return true;
}

bool VoiceFlow::PrepareVerifyWord()
{
    SetComboWords({}, -1);
    if (m_state.VerifyRepeat == kModelTestRepeat) {
        SetComboWords({m_state.Word}, 0);
        SetLabel(kLabelWord, m_state.Word);
    } else {
        if (CheckAuthUser(m_state.UserID) == 0) {
            EnableAllButtons();
            return false;
        }
        const std::string list = m_services.userDic->GetVoiceList(m_state.UserID);
        if (list.empty()) {
            Prompt(literal::kNoEnrolledVoice);
            EnableAllButtons();
            return false;
        }
        std::vector<std::string> words;
        const std::vector<std::string> entries = talk::user_record::Split(list, ',');
        for (size_t i = 0; i < entries.size() && i < kMaxWordEntries; ++i) {
            std::string word = m_services.setup->GetAuthWord(entries[i]);
            if (!word.empty())
                words.push_back(std::move(word));
        }
        if (words.empty()) {
            SetComboWords({}, -1);
            Prompt(FormatString(VoiceString::FirstEnrolment, m_state.UserID));
            EnableAllButtons();
            return false;
        }
        const std::tm now = m_services.clock->LocalNow();
        std::tm copy = now;
        std::minstd_rand random(static_cast<unsigned>(std::mktime(&copy)));
        const int chosen = static_cast<int>(random() % words.size());
        m_state.Word = words[static_cast<size_t>(chosen)];
        m_state.Nick = m_services.setup->GetAuthNick(m_state.Word);
        SetComboWords(words, chosen);
        SetLabel(kLabelWord, m_state.Word);
        const std::string key = m_services.userDic->GetCertiKey(m_state.UserID);
        m_services.voiceDic->GetUserVoice(m_state.UserID, key, m_state.Nick);
        Pause(kIdentityPauseMs);
    }
    VoiceEngine& engine = *m_services.engine;
    engine.PutID(m_state.UserID);
    engine.PutPW(m_state.Word);
    engine.PutNick(m_state.Nick);
    engine.Security(kSecurityMargin);
    return true;
}

bool VoiceFlow::PrepareEnrolWord()
{
    m_state.Word = Field(kWordCombo);
    m_state.Nick = m_services.setup->GetAuthNick(m_state.Word);
    if (VerifyCanRegisterVoicePassword() == 0) {
        EnableAllButtons();
        return false;
    }
    VoiceEngine& engine = *m_services.engine;
    engine.PutID(m_state.UserID);
    engine.PutPW(m_state.Word);
    engine.PutNick(m_state.Nick);
    SetLabel(kLabelWord, m_state.Word);
    return true;
}

void VoiceFlow::OpenRecorder()
{
    if (m_state.RecorderOpen)
        return;
    m_recorder.SetSeconds(kRecordLengthMs / 1000);
    m_recorder.Allocate();
    m_recorder.PrepareHeader();
    m_state.RecorderOpen = 1;
}

void VoiceFlow::CloseRecorder()
{
    if (!m_state.RecorderOpen)
        return;
    if (m_recorder.GetRecording())
        m_recorder.Stop();
    m_recorder.Release();
    m_recorder.SetSeconds(0);
    m_recorder.Allocate();
    m_state.RecorderOpen = 0;
}

void VoiceFlow::AnnounceReading()
{
    const bool verifyOnce = m_state.Mode == 2 && m_state.VerifyRepeat != kModelTestRepeat;
    if (!m_state.LastTakeGood) {
        if (verifyOnce)
            m_state.TakeCount = 1;
        Prompt(VoiceString::ReadOnceMore);
        PlayPrompt(sound::kReadAgain);
        return;
    }
    if (verifyOnce || m_state.TakeCount == 0) {
        m_state.TakeCount = 1;
        Prompt(VoiceString::RecordPassword);
        PlayPrompt(sound::kRead);
        return;
    }
    const int cap = m_state.Mode == 1 ? m_state.EnrolRepeat : kModelTestRepeat;
    m_state.TakeCount = std::min(m_state.TakeCount + 1, cap);
    Prompt(VoiceString::ReadAgainAndAgain);
    PlayPrompt(sound::kReadMore);
}

void VoiceFlow::Tick()
{
    ++m_state.TickCount;
    m_recorder.Poll();
    Emit(Act(VoiceActionKind::DrawTickSlice, 0, m_state.TickCount));
    if (m_state.TickCount < kRecordLengthMs / kTickMs)
        return;
    KillTimer(kTickTimer);
    m_recorder.Stop();
    Emit(Act(VoiceActionKind::RecordingStopped));
    m_state.Recording = 0;
    EnableAllButtons();
    Emit(Act(VoiceActionKind::ClearWaveArea));
    Emit(Act(VoiceActionKind::DrawWholeWave));
    for (int i = 0; i < m_state.SampleCount; ++i)
        m_state.Samples[static_cast<size_t>(i)] = m_recorder.Sample(i);
    FinishReading();
}

void VoiceFlow::FinishReading()
{
    VoiceEngine& engine = *m_services.engine;
    const int taken = engine.GetEndpointShort(m_state.Samples.data(), m_state.SampleCount, m_state.ShortWord);
    const int error = engine.GetErrorNumber();
    // The engine takes a noisy reading (-4) or one without high band (-5) and says so only in the error
    // number; enrolment counts them so that the warning before training can appear.
    if (m_state.Mode == 1 && (error == -4 || error == -5))
        ++m_state.EndpointErrorCount;
    if (taken != 0) {
        const int64_t frames = engine.GetEndpointValue();
        const long shift = engine.GetShiftValue();
        const long startFrame = static_cast<int32_t>(frames & 0xffffffff);
        const long endFrame = static_cast<int32_t>(frames >> 32);
        VoiceAction marks = Act(VoiceActionKind::DrawEndpointMarks);
        marks.first = startFrame * shift;
        marks.last = endFrame * shift;
        m_wordFirst = marks.first;
        m_wordLast = marks.last;
        Emit(std::move(marks));
        m_state.LastTakeGood = 1;
        OnProcess();
        return;
    }
    if (error == -1)
        Prompt(VoiceString::AbnormalLength);
    else if (error == -2)
        Prompt(VoiceString::TooQuiet);
    else if (error == -3)
        Prompt(VoiceString::TooLoud);
    Pause(kResultPauseMs);
    m_state.LastTakeGood = 0;
    ++m_state.FailCount;
    OnRecord();
}

} // namespace talk::voice
