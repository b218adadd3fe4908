#include "LogonFlow.h"

#include "LogonStores.h"
#include "LogonTexts.h"

#include "platform/BoundaryGuard.h"

namespace wardengate {

namespace voice = talk::voice;
using voice::VoiceAction;
using voice::VoiceActionKind;

namespace {

constexpr int kPasswordOnly = 2;

} // namespace

LogonFlow::LogonFlow(LogonServices services, bool captureAvailable)
    : m_services(std::move(services))
    , m_captureAvailable(captureAvailable)
{
    voice::VoiceFlowServices shared;
    shared.setup = &m_services.stores->setup;
    shared.userDic = &m_services.stores->users;
    shared.voiceDic = &m_services.stores->voices;
    shared.engine = m_services.engine;
    shared.clock = m_services.clock;
    shared.drives = m_services.drives;
    shared.sink = this;
    shared.capture = m_services.capture;
    shared.variant.rememberLastUser = false;
    shared.variant.voiceStartDefaultId = m_services.lastLogonUser ? m_services.lastLogonUser : LastLogonUser;
    shared.variant.forcedAuthMethod = m_captureAvailable ? m_services.forcedMethod : kPasswordOnly;
    m_flow = std::make_unique<voice::VoiceFlow>(std::move(shared));
    voice::VoiceFlowState& state = m_flow->State();
    state.Mode = 2;
    state.VerifyRepeat = 1;
    state.Purpose = 0;
}

LogonFlow::~LogonFlow()
{
    Finish();
}

void LogonFlow::Start() noexcept
{
    m_flow->Start();
}

void LogonFlow::OnTimer(int id) noexcept
{
    m_flow->OnTimer(id);
}

void LogonFlow::PressButton(int id) noexcept
{
    if (id == voice::kButtonFloppy)
        platform::GuardedCall([&] { PressBypass(); });
    else
        m_flow->PressButton(id);
}

void LogonFlow::PressEnter() noexcept
{
    m_flow->PressEnter();
}

void LogonFlow::PressEscape() noexcept
{
    m_flow->PressEscape();
}

void LogonFlow::SetFieldText(int controlId, const std::string& text) noexcept
{
    if (controlId == voice::kIdField)
        platform::GuardedCall([&] { m_idField = text; });
    m_flow->SetFieldText(ToSharedId(controlId), text);
}

void LogonFlow::Finish() noexcept
{
    m_flow->Finish();
}

void LogonFlow::PressBypass()
{
    // A key opens the account typed beside it, so there must be one before any drive is asked for.
    if (m_idField.empty()) {
        Apply(voice::TextAct(VoiceActionKind::ShowPrompt, "", texts::kBypassNeedsId));
        return;
    }
    m_bypassRunning = true;
    m_flow->State().UserID = m_idField;
    m_flow->PressButton(voice::kButtonFloppy);
    m_bypassRunning = false;
}

bool LogonFlow::Apply(const VoiceAction& action)
{
    // The window's ID field is what a by-pass key opens, whether the user or the dialog filled it.
    if (action.kind == VoiceActionKind::SetFieldText && action.id == voice::kIdField)
        m_idField = action.text;
    else if (action.kind == VoiceActionKind::ClearField && action.id == voice::kIdField)
        m_idField.clear();
    if (action.kind == VoiceActionKind::End) {
        if (m_bypassRunning)
            m_bypassPassed = action.value == 1;
        Conclude(action.value);
    }
    VoiceAction shown = action;
    shown.id = ToLogonId(action.id);
    if (action.kind == VoiceActionKind::ShowPrompt || action.kind == VoiceActionKind::ShowMessage)
        shown.text = texts::LogonWording(action.text);
    // Only the password start's prompt changes when the voice cannot be heard: the user must learn why.
    if (!m_captureAvailable && action.kind == VoiceActionKind::ShowPrompt && shown.text == texts::kEnterIdAndPassword)
        shown.text = texts::kNoSoundCapture;
    return m_services.window->Apply(shown);
}

void LogonFlow::Conclude(int result)
{
    if (m_services.engineStatus)
        m_engineStatus = m_services.engineStatus();
    const voice::VoiceFlowState& state = m_flow->State();
    if (result != 1) {
        m_userId.clear();
        m_password.clear();
        return;
    }
    m_userId = m_bypassPassed ? m_idField : state.UserID;
    // The typed password is what the host gets only when it alone decided; it equals the stored one then.
    const bool typedOnly = !m_bypassPassed && state.AuthMethod == kPasswordOnly;
    m_password = typedOnly ? state.TypedPassword : m_services.stores->users.GetPassWord(m_userId);
}

int LogonFlow::ToLogonId(int sharedId) noexcept
{
    if (sharedId == voice::kPasswordField)
        return kLogonPasswordField;
    if (sharedId == voice::kWordCombo)
        return kLogonWordCombo;
    return sharedId;
}

int LogonFlow::ToSharedId(int logonId) noexcept
{
    if (logonId == kLogonPasswordField)
        return voice::kPasswordField;
    if (logonId == kLogonWordCombo)
        return voice::kWordCombo;
    return logonId;
}

} // namespace wardengate
