#include "settings/RestoreDlg.h"

#include "settings/RestoreJob.h"
#include "settings/SettingsStrings.h"
#include "users/UserStores.h"

#include "MessageService.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace deskwarden::settings {

/** Shows the restore as it goes: each log line, each question as a message box, the progress bar. */
class CRestoreDlg::Listener final : public RestoreListener
{
public:
    explicit Listener(CRestoreDlg& dialog)
        : m_dialog(dialog)
    {
    }
    void Log(const std::string& line) override
    {
        m_dialog.m_log->moveCursor(QTextCursor::End);
        m_dialog.m_log->insertPlainText(QString::fromStdString(line) + "\r\n");
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    bool ConfirmOverwrite(const std::string& id) override
    {
        return CMessageService::Ask(kProductCaption, OverwriteQuestion(id));
    }
    void Progress(int percent) override { m_dialog.m_progress->setValue(percent); }

private:
    CRestoreDlg& m_dialog;
};

CRestoreDlg::CRestoreDlg(backup::BackupFiles files, users::UserStores& stores, QWidget* parent)
    : QDialog(parent)
    , m_files(std::move(files))
    , m_stores(stores)
    , m_count(new QLabel("0", this))
    , m_progress(new QProgressBar(this))
    , m_log(new QPlainTextEdit(this))
    , m_start(new QPushButton(QString::fromUtf8(kStart), this))
{
    setObjectName("CRestoreDlg");
    setWindowTitle(QString::fromUtf8(kRestoreTitle));
    setFont(QFont("IPAGothic", 9));
    m_count->setObjectName("1100");
    m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_progress->setObjectName("1098");
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_log->setObjectName("1099");
    m_log->setReadOnly(true);
    m_start->setObjectName("IDOK");
    m_start->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8(kCancel), this);
    cancel->setObjectName("IDCANCEL");
    connect(m_start, &QPushButton::clicked, this, &CRestoreDlg::Start);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(kRestoredCountLabel), this), 0, 0);
    layout->addWidget(m_count, 0, 1);
    layout->addWidget(new QLabel(QString::fromUtf8(kPersonUnit), this), 0, 2);
    layout->addWidget(new QLabel(QString::fromUtf8(kProgressLabel), this), 1, 0);
    layout->addWidget(m_progress, 1, 1, 1, 3);
    layout->addWidget(m_log, 2, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 3, 0, 1, 4);
    layout->setColumnStretch(3, 1);
    resize(420, 340);
    QTimer::singleShot(kCountDelayMs, this, &CRestoreDlg::ShowUserCount);
}

void CRestoreDlg::ShowUserCount()
{
    const int users = CountBackupUsers(m_files);
    m_count->setText(QString::number(users < 0 ? 0 : users));
}

void CRestoreDlg::Start()
{
    if (m_done) {
        accept();
        return;
    }
    m_start->setEnabled(false);
    Listener listener(*this);
    const RestoreReport report = RunRestore(
        m_files, RestoreTarget {m_stores.users, m_stores.voices, m_stores.accounts, m_stores.ntFamily}, listener);
    if (!report.readable)
        return; // nothing was restored from it; the button stays off
    m_done = true;
    m_start->setText(QString::fromUtf8(kOk));
    m_start->setEnabled(true);
}

} // namespace deskwarden::settings
