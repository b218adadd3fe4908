#include "voice/VoiceDlg.h"

#include "MessageService.h"
#include "Setup/SetupFile.h"
#include "skin/SkinCombo.h"
#include "skin/SkinEdit.h"
#include "skin/StaticToolTip.h"
#include "voice/DriveSelectDlg.h"
#include "voice/MixerLogic.h"
#include "voice/MixerWatcher.h"
#include "voice/VoiceFlow.h"
#include "voice/WaveformModel.h"
#include "voice/WaveformPainter.h"

#include <platform/BoundaryGuard.h>
#include <platform/audio/SoundPlayer.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include <algorithm>

using talk::voice::VoiceAction;
using talk::voice::VoiceActionKind;

namespace {

const char* const kDefaultSkin = "default";
const char* const kHintLabel = "LABEL_HINT";
// The prompt window's colours: pale yellow with dark green text, readable over any skin.
const QColor kToolTipBackground(241, 245, 167);
const QColor kToolTipText(8, 64, 0);
const QColor kEndpointColour(255, 196, 64);

QColor ToQColor(const SkinColor& c)
{
    return QColor(c.r, c.g, c.b);
}

} // namespace

namespace talk::voice {

namespace {

/** The shared flow as the window drives it. */
class SharedFlow final : public VoiceDlgFlow
{
public:
    explicit SharedFlow(VoiceFlowServices services)
        : m_flow(std::move(services))
    {
    }
    void Start() noexcept override { m_flow.Start(); }
    void OnTimer(int id) noexcept override { m_flow.OnTimer(id); }
    void PressButton(int id) noexcept override { m_flow.PressButton(id); }
    void PressEnter() noexcept override { m_flow.PressEnter(); }
    void PressEscape() noexcept override { m_flow.PressEscape(); }
    void SetFieldText(int controlId, const std::string& text) noexcept override
    {
        m_flow.SetFieldText(controlId, text);
    }
    void Finish() noexcept override { m_flow.Finish(); }
    bool Ended() const noexcept override { return m_flow.Ended(); }
    VoiceFlowState& State() noexcept override { return m_flow.State(); }
    const VoiceFlowState& State() const noexcept override { return m_flow.State(); }
    const WaveRecorder& Recorder() const noexcept override { return m_flow.Recorder(); }

private:
    VoiceFlow m_flow;
};

} // namespace

/** The flow of one modal session and what it talks to; the dialog is the flow's window. */
class VoiceDlgSession final : public VoiceActionSink
{
public:
    explicit VoiceDlgSession(CVoiceDlg& dialog)
        : dialog(dialog)
    {
    }
    bool Apply(const VoiceAction& action) override { return dialog.Apply(action); }

    CVoiceDlg& dialog;
    HalvoxVoiceEngine engine;
    SystemVoiceClock clock;
    std::unique_ptr<VoiceDlgFlow> flow;
};

} // namespace talk::voice

CVoiceDlg::CVoiceDlg(QWidget* parent)
    : CVoiceDlg(talk::voice::VoiceDlgCopy {}, parent)
{
}

CVoiceDlg::CVoiceDlg(talk::voice::VoiceDlgCopy copy, QWidget* parent)
    : CSkinDlg(kTemplateId, parent)
    , m_copy(std::move(copy))
    , m_idEdit(new CSkinEdit(this))
    , m_wordCombo(new CSkinCombo(this))
    , m_passwordEdit(new CSkinEdit(this))
    , m_toolTip(std::make_unique<CStaticToolTip>())
{
    const talk::voice::VoiceDlgControlIds& ids = m_copy.ids;
    m_idEdit->setObjectName(QString::number(ids.idField));
    m_wordCombo->setObjectName(QString::number(ids.wordCombo));
    m_passwordEdit->setObjectName(QString::number(ids.passwordField));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    for (CSkinEdit* edit : {m_idEdit, m_passwordEdit}) {
        const int id = edit == m_idEdit ? ids.idField : ids.passwordField;
        connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) { ForwardFieldChange(id, text); });
    }
    connect(m_wordCombo, &QComboBox::currentTextChanged, this,
        [this, id = ids.wordCombo](const QString& text) { ForwardFieldChange(id, text); });
    for (int id = 0; id < kTimerCount; ++id) {
        m_timers[id].setTimerType(Qt::PreciseTimer);
        connect(&m_timers[id], &QTimer::timeout, this, [this, id] {
            if (m_session && m_session->flow)
                m_session->flow->OnTimer(id);
        });
    }
}

CVoiceDlg::~CVoiceDlg()
{
    ReleaseSession();
}

void CVoiceDlg::SetCaptureFactory(WaveRecorder::CaptureFactory factory)
{
    m_captureFactory = std::move(factory);
}

bool CVoiceDlg::IsWaitingForUser() const
{
    if (!m_session || !m_session->flow || m_session->flow->Ended() || m_session->flow->State().Recording != 0)
        return false;
    for (const QTimer& timer : m_timers) {
        if (timer.isActive())
            return false;
    }
    return true;
}

bool CVoiceDlg::OnInitDialog()
{
    if (SetupFile == nullptr || UserDic == nullptr || VoiceDic == nullptr) {
        CMessageService::Report(talk::voice::literal::kTitle, "CVoiceDlg: the stores are not set", MessageIcon::Error);
        // Escape cannot close this dialog, so it closes itself as soon as it is up.
        QTimer::singleShot(0, this, [this] { done(2); });
        return false;
    }
    std::string skin = SetupFile->GetSkinCurrent();
    const std::string title = talk::voice::literal::kTitle;
    SetSkinFile(skin.empty() ? kDefaultSkin : skin, title, SetupFile->GetAppPath());
    // A skin that does not load has asked to close through reject(), which this dialog ignores: it goes on
    // without pictures, so that the user can still be verified.
    CSkinDlg::OnInitDialog();
    CentreOnScreen();
    setWindowTitle(QString::fromStdString(title));
    AttachToolTip();
    m_drives = std::make_unique<talk::voice::DriveSelectDlg>(title, this, m_copy.drives);

    m_session = std::make_unique<talk::voice::VoiceDlgSession>(*this);
    talk::voice::VoiceFlowServices services;
    services.setup = SetupFile;
    services.userDic = UserDic;
    services.voiceDic = VoiceDic;
    services.engine = &m_session->engine;
    services.clock = &m_session->clock;
    services.drives = m_drives.get();
    services.sink = m_session.get();
    services.capture = m_captureFactory;
    services.variant = FlowVariant;
    if (m_copy.makeFlow)
        m_session->flow = m_copy.makeFlow(std::move(services));
    else
        m_session->flow = std::make_unique<talk::voice::SharedFlow>(std::move(services));
    talk::voice::VoiceFlowState& state = m_session->flow->State();
    state.Purpose = Purpose;
    state.Mode = Mode;
    state.EnrolRepeat = EnrolRepeat;
    state.VerifyRepeat = VerifyRepeat;
    state.UserID = UserID;
    state.Word = Word;
    state.Nick = Nick;
    m_session->flow->Start();
    OpenMixer();
    return true;
}

void CVoiceDlg::CentreOnScreen()
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move((area.width() - width()) / 2, (area.height() - height()) / 2);
    }
}

void CVoiceDlg::AttachToolTip()
{
    if (GetLabelTipFlag() == 0)
        return;
    m_toolTip->SetBkgndColor(true, kToolTipBackground);
    m_toolTip->SetTextColor(kToolTipText);
    m_toolTip->Attach(this, 0, height());
}

bool CVoiceDlg::MixerLive() const
{
    return !m_copy.mixerLive || m_copy.mixerLive();
}

void CVoiceDlg::OpenMixer()
{
    if (!m_copy.opensMixer)
        return;
    m_mixer = m_copy.openMixer ? m_copy.openMixer() : MixerLogic::OpenDefault();
    if (!m_mixer || !m_mixer->HasMixer())
        return;
    auto sink = [this](const std::string& name, int percent) { SetProgressPos(name, percent); };
    m_mixer->ReadVolumes(sink);
    // A change made elsewhere is still taken from the device, so that it does not stay pending.
    m_mixerWatcher = new MixerWatcher(
        *m_mixer,
        [this, sink](const std::string& name, int percent) {
            if (MixerLive())
                sink(name, percent);
        },
        this);
    m_mixer->SetEnabled(true);
}

void CVoiceDlg::PressButtonID(int id)
{
    if (m_session && m_session->flow)
        m_session->flow->PressButton(id);
}

void CVoiceDlg::ProgressChanged(const std::string& name)
{
    if (m_mixer && m_mixer->IsEnabled() && MixerLive())
        m_mixer->ApplySlider(name, GetProgressPos(name));
}

void CVoiceDlg::reject()
{
    if (m_session && m_session->flow)
        m_session->flow->PressEscape();
}

void CVoiceDlg::accept()
{
    if (m_session && m_session->flow)
        m_session->flow->PressEnter();
}

void CVoiceDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        event->accept();
        return;
    case Qt::Key_Escape:
        reject();
        event->accept();
        return;
    default:
        CSkinDlg::keyPressEvent(event);
    }
}

void CVoiceDlg::mousePressEvent(QMouseEvent* event)
{
    // The window has no caption: a press anywhere on its body moves it.
    if (m_copy.dragAnywhere && event->button() == Qt::LeftButton && windowHandle() != nullptr)
        windowHandle()->startSystemMove();
    CSkinDlg::mousePressEvent(event);
}

void CVoiceDlg::ForwardFieldChange(int controlId, const QString& text)
{
    // The flow's own changes of the controls come back as signals; it knows them already.
    if (m_applying || !m_session || !m_session->flow)
        return;
    m_session->flow->SetFieldText(controlId, text.toStdString());
}

bool CVoiceDlg::Apply(const VoiceAction& action)
{
    const bool nested = m_applying;
    m_applying = true;
    bool answer = true;
    switch (action.kind) {
    case VoiceActionKind::ShowPrompt:
        ShowPrompt(action.text);
        break;
    case VoiceActionKind::PlaySound:
        answer = PlaySound(action.text);
        break;
    case VoiceActionKind::SetLabel:
        SetText(action.name, action.text);
        break;
    case VoiceActionKind::SetFieldText:
        SetFieldText(action.id, action.text);
        break;
    case VoiceActionKind::ClearField:
        SetFieldText(action.id, std::string());
        break;
    case VoiceActionKind::SetComboWords:
        SetComboWords(action);
        break;
    case VoiceActionKind::ApplyLayout:
        ApplyLayout(action.value);
        break;
    case VoiceActionKind::EnableButtons:
    case VoiceActionKind::DisableButtons:
        for (const std::string& name : action.items)
            SetEnable(name, action.kind == VoiceActionKind::EnableButtons ? 1 : 0);
        break;
    case VoiceActionKind::FocusControl:
        Focus(action.id);
        break;
    case VoiceActionKind::StartTimer:
        StartTimer(action.id, action.value);
        break;
    case VoiceActionKind::KillTimer:
        KillTimer(action.id);
        break;
    case VoiceActionKind::RecordingStarted:
    case VoiceActionKind::RecordingStopped:
        break;
    case VoiceActionKind::DrawTickSlice:
    case VoiceActionKind::DrawWholeWave:
    case VoiceActionKind::DrawEndpointMarks:
    case VoiceActionKind::DrawResultMark:
        DrawWave(action);
        break;
    case VoiceActionKind::ClearWaveArea:
        DrawWaveRect(1);
        break;
    case VoiceActionKind::AskYesNo:
        answer = CMessageService::Ask(action.name, action.text);
        break;
    case VoiceActionKind::ShowMessage:
        CMessageService::Report(action.name, action.text, MessageIcon::Error);
        break;
    case VoiceActionKind::StopButtonTimers:
        StopTimer(1);
        break;
    case VoiceActionKind::ResumeButtonTimers:
        StopTimer(0);
        break;
    case VoiceActionKind::DetachToolTip:
        m_toolTip->Detach();
        break;
    case VoiceActionKind::Pause:
        // A plain sleep: the dialog does not repaint meanwhile, as its users know it.
        repaint();
        QThread::msleep(static_cast<unsigned long>(std::max(action.value, 0)));
        break;
    case VoiceActionKind::End:
        EndDialog(action.value);
        break;
    }
    m_applying = nested;
    return answer;
}

void CVoiceDlg::ShowPrompt(const std::string& text)
{
    if (GetHintFlag() != 0)
        SetText(kHintLabel, text);
    if (GetLabelTipFlag() != 0) {
        m_toolTip->SetText(text.c_str());
        m_toolTip->Show();
    }
}

bool CVoiceDlg::PlaySound(const std::string& path)
{
    // The prompt must be on screen before a synchronous sound holds the thread.
    repaint();
    std::string error;
    return platform::audio::PlayWaveFile(path, error);
}

void CVoiceDlg::SetFieldText(int controlId, const std::string& text)
{
    const QString qtext = QString::fromStdString(text);
    if (controlId == m_copy.ids.idField)
        m_idEdit->setText(qtext);
    else if (controlId == m_copy.ids.passwordField)
        m_passwordEdit->setText(qtext);
    else if (controlId == m_copy.ids.wordCombo)
        m_wordCombo->setCurrentIndex(m_wordCombo->findText(qtext));
}

void CVoiceDlg::SetComboWords(const VoiceAction& action)
{
    m_wordCombo->clear();
    for (const std::string& word : action.items)
        m_wordCombo->AddString(word);
    m_wordCombo->setCurrentIndex(action.value);
}

void CVoiceDlg::ApplyLayout(int layout)
{
    const talk::voice::LayoutVisibility shown = talk::voice::VisibilityOf(layout);
    m_idEdit->setVisible(shown.idField);
    m_wordCombo->setVisible(shown.wordCombo);
    m_passwordEdit->setVisible(shown.passwordField);
    SetVisible(talk::voice::kLabelId, shown.idLabel ? 1 : 0);
    SetVisible(talk::voice::kLabelWord, shown.wordLabel ? 1 : 0);
    // The second row holds the password in the password layout and the word otherwise; its caption follows.
    if (FindLabel(talk::voice::kLabelSecondCaption) != nullptr)
        SetText(talk::voice::kLabelSecondCaption,
            shown.passwordField ? talk::voice::kCaptionPassword : talk::voice::kCaptionWord);
}

void CVoiceDlg::Focus(int controlId)
{
    if (QWidget* control = findChild<QWidget*>(QString::number(controlId)))
        control->setFocus();
}

void CVoiceDlg::StartTimer(int id, int ms)
{
    if (id >= 0 && id < kTimerCount)
        m_timers[id].start(ms);
}

void CVoiceDlg::KillTimer(int id)
{
    if (id >= 0 && id < kTimerCount)
        m_timers[id].stop();
}

void CVoiceDlg::DrawWave(const VoiceAction& action)
{
    const WaveRecorder& recorder = m_session->flow->Recorder();
    const WaveformModel model(GetWaveRect(), recorder.GetBufferSize(), recorder.GetFormat().averageBytesPerSecond,
        talk::voice::VoiceFlow::kTickMs);
    const QColor line = ToQColor(GetSkin().wave.line);
    DrawOnWave([&](QPainter& painter) {
        namespace paint = talk::waveform_painter;
        switch (action.kind) {
        case VoiceActionKind::DrawTickSlice:
            paint::DrawTickSlice(painter, model, recorder, action.value, line);
            break;
        case VoiceActionKind::DrawWholeWave:
            paint::DrawWholeRecording(painter, model, recorder, line);
            break;
        case VoiceActionKind::DrawEndpointMarks:
            paint::DrawEndpointMarks(painter, model, action.first, action.last, kEndpointColour);
            break;
        default:
            paint::DrawResultMark(painter, model, action.value != 0);
            break;
        }
    });
}

void CVoiceDlg::EndDialog(int result)
{
    for (QTimer& timer : m_timers)
        timer.stop();
    const talk::voice::VoiceFlowState& state = m_session->flow->State();
    UserID = state.UserID;
    Word = state.Word;
    Nick = state.Nick;
    ModelCreated = state.ModelCreated;
    m_toolTip->Detach();
    m_toolTip->hide();
    done(result);
}

void CVoiceDlg::ReleaseSession()
{
    for (QTimer& timer : m_timers)
        timer.stop();
    if (m_toolTip)
        m_toolTip->Detach();
    if (m_session && m_session->flow)
        m_session->flow->Finish();
    m_session.reset();
    // The watcher refers to the mixer: it goes first.
    delete m_mixerWatcher;
    m_mixerWatcher = nullptr;
    m_mixer.reset();
}
