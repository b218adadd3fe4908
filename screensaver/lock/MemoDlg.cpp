#include "lock/MemoDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <ctime>

namespace screenveil {

std::tm LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return local;
}

MemoDlg::MemoDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint)
    , m_text(new QPlainTextEdit(this))
    , m_name(new QLineEdit(this))
    , m_clock(new QLabel(this))
{
    setObjectName("132");
    setWindowTitle("Memo");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("メッセージを残してください。", this));
    layout->addWidget(m_text);
    auto* form = new QFormLayout;
    form->addRow("名前", m_name);
    layout->addLayout(form);
    layout->addWidget(m_clock);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Ok);
    buttons->addButton("閉じる", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &MemoDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MemoDlg::reject);
    layout->addWidget(buttons);
    m_text->setObjectName("memoText");
    m_text->setTabChangesFocus(true);
    m_name->setObjectName("memoName");
    m_clock->setObjectName("memoClock");
    resize(420, 300);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    ShowClock();
    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, &MemoDlg::ShowClock);
    m_tick.start();
    setCursor(Qt::ArrowCursor);
}

void MemoDlg::ShowClock()
{
    m_clock->setText(QString::fromStdString(MemoTimeText(LocalNow())));
}

void MemoDlg::accept()
{
    m_result = MakeMemo(m_text->toPlainText().toStdString(), m_name->text().toStdString(), LocalNow());
    if (!m_result) {
        QMessageBox box(QMessageBox::Warning, "Marlow", "There is no memsage!", QMessageBox::Ok, this);
        box.setWindowFlags(box.windowFlags() | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint);
        box.exec();
        return;
    }
    QDialog::accept();
}

} // namespace screenveil
