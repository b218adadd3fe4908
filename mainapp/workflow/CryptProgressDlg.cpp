#include "workflow/CryptProgressDlg.h"

#include "workflow/WorkflowStrings.h"

#include "MessageService.h"

#include "art/ArtNames.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace deskwarden::workflow {

namespace {

constexpr int kStartDelayMs = 200;
constexpr int kBottomBand = 40;
constexpr QColor kBackground(0x5A, 0x71, 0xB5);
constexpr const char* kCaption = "Marlow Desk Warden";

int Percent(std::uint64_t done, std::uint64_t total)
{
    if (total == 0)
        return 0;
    return static_cast<int>(std::min<std::uint64_t>(100, done * 100 / total));
}

QLabel* WhiteLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setStyleSheet("color: white;");
    return label;
}

QProgressBar* Bar(const char* id, QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(id);
    bar->setRange(0, 100);
    bar->setTextVisible(false);
    bar->setMinimumWidth(360);
    return bar;
}

} // namespace

CCryptProgressDlg::CCryptProgressDlg(Mode mode, JobFactory makeJob, QWidget* parent)
    : QDialog(parent)
    , m_makeJob(std::move(makeJob))
{
    const bool encrypt = mode == Mode::Encrypt;
    setObjectName("232");
    setWindowTitle(QString::fromUtf8(encrypt ? kEncryptTitle : kDecryptTitle));
    setFont(QFont("IPAPGothic", 10));
    auto* description = WhiteLabel(QString::fromUtf8(encrypt ? kEncryptDescription : kDecryptDescription), this);
    m_status = WhiteLabel(QString(), this);
    m_status->setObjectName("Status");
    m_phase = WhiteLabel(QString(), this);
    m_phase->setObjectName("Phase");
    m_fileBar = Bar("FileBar", this);
    m_totalBar = Bar("TotalBar", this);
    m_filePercent = WhiteLabel("0%", this);
    m_totalPercent = WhiteLabel("0%", this);

    auto* bars = new QGridLayout;
    bars->addWidget(m_status, 0, 0, 1, 2);
    bars->addWidget(m_fileBar, 1, 0);
    bars->addWidget(m_filePercent, 1, 1);
    bars->addWidget(m_phase, 2, 0, 1, 2);
    bars->addWidget(m_totalBar, 3, 0);
    bars->addWidget(m_totalPercent, 3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(description);
    layout->addLayout(bars);
    layout->addSpacing(kBottomBand);
    QTimer::singleShot(kStartDelayMs, this, &CCryptProgressDlg::StartJob);
}

CCryptProgressDlg::~CCryptProgressDlg()
{
    // The worker must be gone before the observer it reports to.
    m_continue.store(0);
    if (m_runner != nullptr)
        m_runner->Stop();
}

void CCryptProgressDlg::StartJob()
{
    m_job = m_makeJob(*this, m_continue);
    m_runner = std::make_unique<bundle::JobRunner>(1);
    if (m_job == nullptr || !m_runner->Start() || !m_runner->Queue(m_job)) {
        m_failure = "the job could not be started";
        Finish(bundle::kJobFailed);
        return;
    }
    m_running = true;
}

void CCryptProgressDlg::Finish(int result)
{
    m_running = false;
    m_result = result;
    if (m_job != nullptr && result == bundle::kJobFailed)
        m_failure = m_job->ErrorText();
    const bool stillWanted = m_continue.load() != 0;
    done(result == bundle::kJobSucceeded && stillWanted ? QDialog::Accepted : QDialog::Rejected);
}

void CCryptProgressDlg::reject()
{
    // Escape or the close box: the job is asked to stop; the window ends when the job has.
    if (m_running)
        m_continue.store(0);
    else
        QDialog::reject();
}

void CCryptProgressDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
    reject();
}

void CCryptProgressDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    const QRect band(0, height() - kBottomBand, width(), kBottomBand);
    painter.fillRect(band, Qt::white);
    const QPixmap icon(art::kIcons[1]); // 32 px
    if (!icon.isNull())
        painter.drawPixmap(band.left() + 10, band.top() + (kBottomBand - icon.height()) / 2, icon);
    painter.setPen(kBackground);
    painter.drawText(band.adjusted(50, 0, -10, 0), Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8(kCaption));
}

void CCryptProgressDlg::StatusLine(const std::string& text)
{
    QMetaObject::invokeMethod(this, [this, text] { m_status->setText(QString::fromStdString(text)); });
}

void CCryptProgressDlg::PhaseText(const std::string& text)
{
    QMetaObject::invokeMethod(this, [this, text] { m_phase->setText(QString::fromStdString(text)); });
}

void CCryptProgressDlg::FileProgress(std::uint64_t done, std::uint64_t size)
{
    const int percent = Percent(done, size);
    QMetaObject::invokeMethod(this, [this, percent] {
        m_fileBar->setValue(percent);
        m_filePercent->setText(QString("%1%").arg(percent));
    });
}

void CCryptProgressDlg::OverallProgress(std::uint64_t done, std::uint64_t total)
{
    const int percent = Percent(done, total);
    QMetaObject::invokeMethod(this, [this, percent] {
        m_totalBar->setValue(percent);
        m_totalPercent->setText(QString("%1%").arg(percent));
    });
}

bool CCryptProgressDlg::AskOnWindowThread(const std::string& question)
{
    bool yes = false;
    // The job waits for the answer; the window's thread keeps drawing while the question is open.
    QMetaObject::invokeMethod(
        this, [&] { yes = CMessageService::Ask(kCaption, question); }, Qt::BlockingQueuedConnection);
    return yes;
}

bool CCryptProgressDlg::AskOverwrite(const std::string& question)
{
    return AskOnWindowThread(question);
}

bool CCryptProgressDlg::AskStop(const std::string& question)
{
    const bool stop = AskOnWindowThread(question);
    if (!stop)
        m_continue.store(1);
    return stop;
}

void CCryptProgressDlg::JobEnded(int result)
{
    QMetaObject::invokeMethod(this, [this, result] { Finish(result); });
}

} // namespace deskwarden::workflow
