#include "voice/VoiceFlow.h"

#include "IniFile.h"
#include "NumberText.h"
#include "Setup/SetupFile.h"

#include "platform/BoundaryGuard.h"

namespace talk::voice {
namespace {

constexpr const char* kSettingsName = "/halvox.ini";
constexpr const char* kWaveFolder = "/wave/";
constexpr const char* kDefaultSkin = "default";
constexpr int kStartTimer = 0;
constexpr int kTickTimer = 1;
constexpr int kDeferredTickTimer = 2;
constexpr int kPasswordStartTimer = 3;

} // namespace

VoiceFlow::VoiceFlow(VoiceFlowServices services)
    : m_services(std::move(services))
    , m_recorder(kRecordLengthMs, kTickMs, m_services.capture)
{
}

VoiceFlow::~VoiceFlow()
{
    Finish();
}

void VoiceFlow::Start() noexcept
{
    platform::GuardedCall([&] {
        if (m_started)
            return;
        m_started = true;
        m_state.AppPath = m_services.setup->GetAppPath();
        m_state.SkinName = m_services.setup->GetSkinCurrent();
        if (m_state.SkinName.empty())
            m_state.SkinName = kDefaultSkin;
        m_state.Title = literal::kTitle;
        ReadNarration();
        m_state.ModelCreated = 0;
        m_services.engine->Initialize();
        m_services.engine->SetbNetVersion(1);
        m_services.engine->PutDir(m_state.AppPath);
        ChooseMethodAndLayout();
        ApplyLayout(m_state.Layout);
        EnableAllButtons();
        m_state.SampleCount = static_cast<int>(kRecordLengthMs * kSampleRate * 0.001);
        m_state.Samples.assign(static_cast<size_t>(m_state.SampleCount), 0);
        m_services.engine->PutMode(m_state.Mode);
        m_state.EnterRecords = 0;
        m_state.CancelRequested = 0;
        m_state.TickCount = 0;
        m_state.PasswordPassed = 0;
        const bool passwordFirst = m_state.Mode == 2 && (m_state.AuthMethod == 0 || m_state.AuthMethod == 2)
            && m_state.VerifyRepeat != kModelTestRepeat;
        StartTimer(passwordFirst ? kPasswordStartTimer : kStartTimer, kStartDelayMs);
        m_state.AcceptCount = 0;
    });
}

void VoiceFlow::ReadNarration()
{
    const CIniFile settings(m_state.AppPath + kSettingsName);
    const std::string value = settings.ReadString(CSetupFile::kSectionVoiceRecog, CSetupFile::kKeyNarration, "1");
    if (talk::LeadingInt(value) == 0)
        m_state.Narration = 0;
}

void VoiceFlow::ChooseMethodAndLayout()
{
    if (m_state.Mode == 1) {
        m_state.Layout = 2;
    } else {
        const CSetupSecure::tagSecureSettings secure = m_services.setup->GetSecureAppSettings();
        switch (m_state.Purpose) {
        case 0:
            m_state.AuthMethod = secure.logonAuthMode;
            break;
        case 1:
        case 2:
            m_state.AuthMethod = secure.fileAuthMode;
            break;
        case 3:
            m_state.AuthMethod = 0;
            break;
        default:
            m_state.AuthMethod = 1;
            break;
        }
        if (m_services.variant.forcedAuthMethod >= 0)
            m_state.AuthMethod = m_services.variant.forcedAuthMethod;
        m_state.Layout = (m_state.AuthMethod == 0 || m_state.AuthMethod == 2) ? 3 : 1;
        if (m_state.Purpose == 4)
            m_state.Layout = 0;
    }
    if (m_state.VerifyRepeat == kModelTestRepeat)
        m_state.Layout = 0;
}

void VoiceFlow::OnTimer(int id) noexcept
{
    platform::GuardedCall([&] {
        if (m_ended || !m_started)
            return;
        switch (id) {
        case kStartTimer:
            KillTimer(kStartTimer);
            StartSession();
            break;
        case kTickTimer:
            Tick();
            break;
        case kDeferredTickTimer:
            KillTimer(kDeferredTickTimer);
            StartTimer(kTickTimer, kTickMs);
            break;
        case kPasswordStartTimer:
            KillTimer(kPasswordStartTimer);
            StartPasswordSession();
            break;
        default:
            break;
        }
    });
}

void VoiceFlow::StartSession()
{
    if (m_state.Mode == 1) {
        SetLabel(kLabelId, m_state.UserID);
        SetField(kIdField, m_state.UserID);
        std::vector<std::string> words;
        if (m_services.setup->GetAuthWordList(words) == 0)
            return; // without words the user can only leave
        SetComboWords(words, words.empty() ? -1 : 0);
        m_services.engine->PutMaxRepeat(m_state.EnrolRepeat);
        ShowRepeat();
        SetLabel(kLabelMode, StringText(VoiceString::ModeEnrol));
        Prompt(VoiceString::ChooseWordThenRecord);
        PlayPrompt(sound::kWordRec);
    } else {
        if (m_state.UserID.empty())
            m_state.UserID = m_services.variant.voiceStartDefaultId ? m_services.variant.voiceStartDefaultId()
                                                                    : m_services.setup->GetLastUserProgram();
        SetLabel(kLabelId, m_state.UserID);
        SetField(kIdField, m_state.UserID);
        ShowRepeat();
        SetLabel(kLabelMode, StringText(VoiceString::ModeVerify));
        std::vector<std::string> words = m_comboWords;
        words.push_back(m_state.Word);
        SetComboWords(words, static_cast<int>(words.size()) - 1);
        SetLabel(kLabelWord, m_state.Word);
        Prompt(VoiceString::PressRecord);
        PlayPrompt(sound::kRec);
    }
    m_state.FailCount = 0;
    m_state.Recording = 0;
    m_state.LastTakeGood = 1;
    m_state.TakeCount = 0;
    m_state.FirstPress = 1;
    ConfigureEngine(true);
    if (m_state.AuthMethod != 0) {
        EnableAllButtons();
        Emit(Act(VoiceActionKind::FocusControl, kIdField));
    }
    m_state.EnterRecords = 1;
}

void VoiceFlow::StartPasswordSession()
{
    if (m_state.UserID.empty())
        m_state.UserID = m_services.setup->GetLastUserProgram();
    SetLabel(kLabelId, m_state.UserID);
    SetField(kIdField, m_state.UserID);
    ConfigureEngine(false);
    EnableAllButtons();
    Emit(Act(VoiceActionKind::FocusControl, kPasswordField));
    Prompt(literal::kEnterIdAndPassword);
    m_state.EnterRecords = 1;
    m_state.PasswordPassed = 0;
}

void VoiceFlow::ConfigureEngine(bool withMode)
{
    VoiceEngine& engine = *m_services.engine;
    engine.AnalParams(kSampleRate, kRecordLengthMs, kWindowLength, kFrameShift);
    engine.NoiseParams(0, 0.0, 1);
    engine.EngineParams(16, 19, 5, 128);
    engine.CopyParams(2.4);
    engine.SetbSpeech(0);
    engine.SameWordDist(1.2f);
    engine.HMMParams(1, 0.0005, 0.8, 0.1, 0.1);
    engine.EPDParams(60, 250, 200, 100000);
    engine.Security(kSecurityMargin);
    if (withMode)
        engine.PutMode(m_state.Mode);
}

void VoiceFlow::PressButton(int id) noexcept
{
    platform::GuardedCall([&] {
        if (m_ended || !m_started)
            return;
        if (id == kButtonRecord) {
            OnRecord();
        } else if (id == kButtonExit) {
            if (m_state.Recording == 0) {
                Emit(Act(VoiceActionKind::DetachToolTip));
                End(2);
            } else {
                // The reading in progress completes; the record and decision steps then end the dialog.
                m_state.CancelRequested = 1;
            }
        } else if (id == kButtonFloppy && m_floppyEnabled && (m_state.Purpose == 0 || m_state.Purpose == 3)) {
            SelectDrive();
        }
    });
}

void VoiceFlow::PressEnter() noexcept
{
    if (m_state.EnterRecords == 1)
        PressButton(kButtonRecord);
}

void VoiceFlow::PressEscape() noexcept
{
    // Escape never closes the dialog: a user mid-check must leave through Exit.
}

void VoiceFlow::SetFieldText(int controlId, const std::string& text) noexcept
{
    platform::GuardedCall([&] {
        if (controlId == kIdField)
            m_idField = text;
        else if (controlId == kWordCombo)
            m_wordField = text;
        else if (controlId == kPasswordField)
            m_passwordField = text;
    });
}

std::string VoiceFlow::Field(int controlId) const
{
    if (controlId == kIdField)
        return m_idField;
    if (controlId == kWordCombo)
        return m_wordField;
    return m_passwordField;
}

void VoiceFlow::Finish() noexcept
{
    platform::GuardedCall([&] {
        if (!m_started || m_finished)
            return;
        m_finished = true;
        if (m_state.Recording)
            m_recorder.Stop();
        m_recorder.Release();
        m_state.RecorderOpen = 0;
        m_services.engine->DestructMemories();
        m_services.engine->Destruct();
    });
}

// ---- actions ------------------------------------------------------------------------------------------

bool VoiceFlow::Emit(VoiceAction action)
{
    return m_services.sink->Apply(action);
}

void VoiceFlow::Prompt(const std::string& text)
{
    Emit(TextAct(VoiceActionKind::ShowPrompt, "", text));
}

void VoiceFlow::Prompt(VoiceString id)
{
    Prompt(std::string(StringText(id)));
}

void VoiceFlow::PlayPrompt(const char* soundName)
{
    if (m_state.Narration == 1)
        Emit(TextAct(VoiceActionKind::PlaySound, "", m_state.AppPath + kWaveFolder + soundName));
}

void VoiceFlow::PlayResult(const char* soundName)
{
    // A result is never followed at once by the next step: silence takes the sound's place.
    const bool played = m_state.Narration == 1
        && Emit(TextAct(VoiceActionKind::PlaySound, "", m_state.AppPath + kWaveFolder + soundName));
    if (!played)
        Pause(kResultPauseMs);
}

void VoiceFlow::SetLabel(const char* item, const std::string& text)
{
    Emit(TextAct(VoiceActionKind::SetLabel, item, text));
}

void VoiceFlow::SetField(int controlId, const std::string& text)
{
    SetFieldText(controlId, text);
    VoiceAction action = TextAct(VoiceActionKind::SetFieldText, "", text);
    action.id = controlId;
    Emit(std::move(action));
}

void VoiceFlow::SetComboWords(std::vector<std::string> words, int selected)
{
    m_wordField = selected >= 0 && selected < static_cast<int>(words.size()) ? words[static_cast<size_t>(selected)]
                                                                             : std::string();
    m_comboWords = words;
    VoiceAction action = Act(VoiceActionKind::SetComboWords, kWordCombo, selected);
    action.items = std::move(words);
    Emit(std::move(action));
}

void VoiceFlow::ShowRepeat()
{
    const int total = m_state.Mode == 1 ? m_state.EnrolRepeat : m_state.VerifyRepeat;
    SetLabel(kLabelRepeat, std::to_string(m_state.TakeCount) + " / " + std::to_string(total));
}

void VoiceFlow::ApplyLayout(int layout)
{
    Emit(Act(VoiceActionKind::ApplyLayout, 0, layout));
}

void VoiceFlow::EnableAllButtons()
{
    m_recordEnabled = true;
    m_floppyEnabled = true;
    VoiceAction action = Act(VoiceActionKind::EnableButtons);
    action.items = {kItemRecord, kItemExit, kItemFloppy};
    Emit(std::move(action));
}

void VoiceFlow::DisableRecordButtons()
{
    m_recordEnabled = false;
    m_floppyEnabled = false;
    VoiceAction action = Act(VoiceActionKind::DisableButtons);
    action.items = {kItemRecord, kItemFloppy};
    Emit(std::move(action));
}

void VoiceFlow::StartTimer(int id, int ms)
{
    Emit(Act(VoiceActionKind::StartTimer, id, ms));
}

void VoiceFlow::KillTimer(int id)
{
    Emit(Act(VoiceActionKind::KillTimer, id));
}

void VoiceFlow::Pause(int ms)
{
    Emit(Act(VoiceActionKind::Pause, 0, ms));
}

void VoiceFlow::DrawResult(bool ok)
{
    Emit(Act(VoiceActionKind::DrawResultMark, 0, ok ? 1 : 0));
}

void VoiceFlow::End(int result)
{
    if (m_ended)
        return;
    m_ended = true;
    m_result = result;
    Emit(Act(VoiceActionKind::End, 0, result));
}

} // namespace talk::voice
