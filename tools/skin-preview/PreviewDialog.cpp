#include "PreviewDialog.h"

#include "SpeechFinder.h"
#include "skin/SkinCombo.h"
#include "skin/SkinEdit.h"
#include "skin/SkinItemIds.h"
#include "voice/MixerWatcher.h"
#include "voice/WaveformModel.h"
#include "voice/WaveformPainter.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <cstdio>

namespace skin_preview {

namespace {

// Prompts of the voice dialog that the preview shows.
const char* const kPressRecord = "録音ボタンを押してください。";
const char* const kRecordNow = "音声パスワードを録音してください。";
const char* const kTakeGood = "[%d]回の録音が成功しました。";
const char* const kLengthWrong = "発話の長さが異常です。";
const char* const kTooQuiet = "声が小さすぎます。";
const char* const kTooLoud = "声が大きすぎます。";

const QColor kEndpointColour(255, 196, 64);

QColor ToQColor(const SkinColor& c)
{
    return QColor(c.r, c.g, c.b);
}

} // namespace

PreviewDialog::PreviewDialog(QWidget* parent)
    : CSkinDlg(3000, parent)
    , m_idEdit(new CSkinEdit(this))
    , m_wordCombo(new CSkinCombo(this))
    , m_passwordEdit(new CSkinEdit(this))
{
    m_idEdit->setObjectName(kIdEditName);
    m_wordCombo->setObjectName(kWordComboName);
    m_passwordEdit->setObjectName(kPasswordEditName);
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_passwordEdit->hide();
    m_idEdit->SetText("tanaka");
    for (const char* word : {"ひらけごま", "あおいそら", "さくらさく"})
        m_wordCombo->AddString(word);
    m_tickTimer.setInterval(RecordingSession::kTickMs);
    m_tickTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_tickTimer, &QTimer::timeout, this, &PreviewDialog::OnTick);

    m_keyMenu.Create();
    m_keyMenu.AppendItem(PopupMenuModel::kBold | PopupMenuModel::kInactive, "By-passキー", 0);
    m_keyMenu.AppendItem(PopupMenuModel::kSeparator, "", 0);
    m_keyMenu.AppendItem(0, "キーを読み込む(&R)", 1);
    m_keyMenu.AppendItem(PopupMenuModel::kDisabled, "キーを作成(&C)", 2);
    m_keyMenu.AppendItem(0, "閉じる(&X)", 3);
}

PreviewDialog::~PreviewDialog() = default;

bool PreviewDialog::OnInitDialog()
{
    if (!CSkinDlg::OnInitDialog())
        return false;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->geometry();
        move((area.width() - width()) / 2, (area.height() - height()) / 2);
    }
    SetText("LABEL_MODE", "認証");
    SetText("LABEL_REPEAT", "0 / 1");
    SetText("LABEL_ID", "tanaka");
    SetText("LABEL_WORD", "ひらけごま");
    SetVisible("LABEL_ID", 0);
    SetVisible("LABEL_WORD", 0);
    Prompt(kPressRecord);
    DrawWaveRect(1);

    m_mixer = MixerLogic::OpenDefault();
    auto sink = [this](const std::string& name, int percent) { SetProgressPos(name, percent); };
    if (m_mixer->HasMixer()) {
        m_mixer->ReadVolumes(sink);
        m_watcher = new MixerWatcher(*m_mixer, sink, this);
    } else {
        // Without a mixer the sliders stay where the skin left them; show a level so the look can be judged.
        SetProgressPos("SPEAKER", 70);
        SetProgressPos("MIC", 55);
    }
    return true;
}

void PreviewDialog::Prompt(const std::string& text)
{
    if (GetHintFlag() != 0)
        SetText("LABEL_HINT", text);
}

void PreviewDialog::PressButtonID(int id)
{
    switch (id) {
    case talk::skin_item_ids::kButtonRecord:
        StartRecording();
        break;
    case talk::skin_item_ids::kButtonExit:
        if (!m_session.IsRunning())
            accept();
        break;
    case talk::skin_item_ids::kButtonFloppy:
        ShowKeyMenu();
        break;
    default:
        break;
    }
}

void PreviewDialog::ProgressChanged(const std::string& name)
{
    if (m_mixer)
        m_mixer->ApplySlider(name, GetProgressPos(name));
}

void PreviewDialog::StartRecording()
{
    if (m_session.IsRunning() || IsEnabled(talk::skin_item_ids::kButtonRecord) == 0)
        return;
    SetEnable("BUTTON_RECORD", 0);
    SetEnable("BUTTON_FLOPPY", 0);
    DrawWaveRect(1);
    Prompt(kRecordNow);
    SetText("LABEL_REPEAT", "1 / 1");
    if (!m_session.Start())
        std::fprintf(stderr, "skin-preview: %s\n", m_session.Recorder().GetLastErrorText().c_str());
    m_tickTimer.start();
}

void PreviewDialog::OnTick()
{
    int tick = m_session.Tick();
    const WaveRecorder& recorder = m_session.Recorder();
    WaveformModel model(
        GetWaveRect(), recorder.GetBufferSize(), recorder.GetFormat().averageBytesPerSecond, RecordingSession::kTickMs);
    QColor line = ToQColor(GetSkin().wave.line);
    DrawOnWave([&](QPainter& painter) { talk::waveform_painter::DrawTickSlice(painter, model, recorder, tick, line); });
    if (m_session.IsFinished())
        FinishRecording();
}

void PreviewDialog::FinishRecording()
{
    m_tickTimer.stop();
    std::vector<short> samples = m_session.Finish();
    SetEnable("BUTTON_RECORD", 1);
    SetEnable("BUTTON_FLOPPY", 1);
    const WaveRecorder& recorder = m_session.Recorder();
    WaveformModel model(
        GetWaveRect(), recorder.GetBufferSize(), recorder.GetFormat().averageBytesPerSecond, RecordingSession::kTickMs);
    DrawWaveRect(1);
    QColor line = ToQColor(GetSkin().wave.line);
    DrawOnWave([&](QPainter& painter) { talk::waveform_painter::DrawWholeRecording(painter, model, recorder, line); });

    SpeechSpan speech = FindSpeech(samples);
    if (speech.found) {
        DrawOnWave([&](QPainter& painter) {
            talk::waveform_painter::DrawEndpointMarks(
                painter, model, speech.startSample, speech.endSample, kEndpointColour);
        });
        char text[128];
        std::snprintf(text, sizeof text, kTakeGood, ++m_takes);
        Prompt(text);
        return;
    }
    switch (speech.errorNumber) {
    case -1:
        Prompt(kLengthWrong);
        break;
    case -2:
        Prompt(kTooQuiet);
        break;
    case -3:
        Prompt(kTooLoud);
        break;
    default:
        break;
    }
    DrawOnWave([&](QPainter& painter) { talk::waveform_painter::DrawResultMark(painter, model, false); });
}

void PreviewDialog::ShowKeyMenu()
{
    QPoint at = mapToGlobal(QPoint(GetSkin().buttons.empty() ? 0 : width() - 180, 40));
    unsigned chosen = m_keyMenu.Track(at.x(), at.y(), this, true);
    if (chosen == 3)
        accept();
}

void PreviewDialog::mousePressEvent(QMouseEvent* event)
{
    // The window has no caption: a press on its body moves it.
    if (event->button() == Qt::LeftButton && windowHandle() != nullptr)
        windowHandle()->startSystemMove();
    CSkinDlg::mousePressEvent(event);
}

} // namespace skin_preview
