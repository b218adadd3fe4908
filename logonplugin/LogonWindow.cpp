#include "LogonWindow.h"

#include "LogonFlow.h"
#include "LogonStores.h"
#include "LogonTexts.h"
#include "WaveInputs.h"

#include "MessageService.h"
#include "voice/VoiceTexts.h"

#include "platform/BoundaryGuard.h"

#include <QTimer>

namespace wardengate {

namespace voice = talk::voice;

namespace {

// 96 x 98 dialog units of the drive window's 9 pt font, at the shared drive window's scale.
constexpr int kDriveWidth = 197;
constexpr int kDriveHeight = 205;

const std::string kNone;

} // namespace

// The window is still being built when this runs; the two functions that refer to it are called only once it
// is shown.
voice::VoiceDlgCopy LogonWindow::LogonCopy(LogonWindow& window, const LogonWindowOptions& options)
{
    voice::VoiceDlgCopy copy;
    copy.ids.passwordField = LogonFlow::kLogonPasswordField;
    copy.ids.wordCombo = LogonFlow::kLogonWordCombo;
    // A logon window stays where it is put: nothing else on the screen may be uncovered before a logon.
    copy.dragAnywhere = false;
    copy.opensMixer = options.captureAvailable;
    copy.mixerLive = [&window] { return window.WaveInputs() > 0; };
    copy.openMixer = options.openMixer;
    copy.drives.templateId = kDriveTemplateId;
    copy.drives.buttonText = kDriveCloseText;
    copy.drives.width = kDriveWidth;
    copy.drives.height = kDriveHeight;
    copy.drives.listName = std::to_string(kDriveList);
    copy.drives.buttonName = std::to_string(kDriveCloseButton);
    copy.drives.noDriveText = texts::kNoRemovableDrive;
    copy.drives.noDriveCaption = voice::literal::kTitle;
    copy.drives.noKeyIcon = MessageIcon::Warning;
    copy.makeFlow = [&window](voice::VoiceFlowServices shared) { return window.MakeFlow(std::move(shared)); };
    return copy;
}

LogonWindow::LogonWindow(LogonWindowOptions options, QWidget* parent)
    : CVoiceDlg(LogonCopy(*this, options), parent)
    , m_options(std::move(options))
{
    Purpose = 0;
    Mode = 2;
    VerifyRepeat = 1;
    UserID = m_options.userId;
    if (m_options.capture)
        SetCaptureFactory(m_options.capture);
}

LogonWindow::~LogonWindow()
{
    // The flow works on the stores: it goes first.
    ReleaseSession();
    m_flow = nullptr;
    m_stores.reset();
}

bool LogonWindow::OnInitDialog()
{
    std::string error = "cannot open the stores";
    const bool opened = platform::Guarded(false, [&] {
        m_stores = std::make_unique<LogonStores>();
        return m_stores->Open(error);
    });
    if (!opened) {
        m_stores.reset();
        CMessageService::Report(voice::literal::kTitle, error, MessageIcon::Error);
        // Escape cannot close this dialog, so it closes itself as soon as it is up: nobody can pass.
        QTimer::singleShot(0, this, [this] { done(2); });
        return false;
    }
    SetupFile = &m_stores->setup;
    UserDic = &m_stores->users;
    VoiceDic = &m_stores->voices;
    return CVoiceDlg::OnInitDialog();
}

std::unique_ptr<voice::VoiceDlgFlow> LogonWindow::MakeFlow(voice::VoiceFlowServices shared)
{
    LogonServices services;
    services.stores = m_stores.get();
    services.engine = shared.engine;
    services.clock = shared.clock;
    services.drives = shared.drives;
    services.window = shared.sink;
    services.capture = std::move(shared.capture);
    services.lastLogonUser = m_options.lastLogonUser;
    services.engineStatus = m_options.engineStatus;
    services.forcedMethod = m_options.forcedMethod;
    auto flow = std::make_unique<LogonFlow>(std::move(services), m_options.captureAvailable);
    if (m_options.attempts > 0)
        flow->State().AttemptsLeft = m_options.attempts;
    m_flow = flow.get();
    return flow;
}

int LogonWindow::WaveInputs() const
{
    return m_options.waveInputs ? m_options.waveInputs() : CountWaveInputs();
}

const std::string& LogonWindow::LogonUser() const
{
    return m_flow ? m_flow->UserID() : kNone;
}

const std::string& LogonWindow::LogonPassword() const
{
    return m_flow ? m_flow->Password() : kNone;
}

const std::string& LogonWindow::EngineStatus() const
{
    return m_flow ? m_flow->EngineStatus() : kNone;
}

} // namespace wardengate
