#include "lock/MemoListDlg.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace screenveil {

MemoListDlg::MemoListDlg(std::vector<Memo> memos, std::string memoFolder, QWidget* parent)
    : QDialog(parent)
    , m_memos(std::move(memos))
    , m_memoFolder(std::move(memoFolder))
    , m_list(new QTreeWidget(this))
    , m_text(new QPlainTextEdit(this))
{
    setObjectName("133");
    setWindowTitle("メッセージ");
    m_list->setObjectName("memoList");
    m_text->setObjectName("memoText");
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({"名前", "時刻"});
    m_list->setColumnWidth(0, 80);
    m_list->setColumnWidth(1, 120);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setStyleSheet("QTreeView::item { border: 1px solid #d0d0d0; }");
    for (const Memo& memo : m_memos)
        m_list->addTopLevelItem(
            new QTreeWidgetItem({QString::fromStdString(memo.name), QString::fromStdString(memo.time)}));
    m_text->setReadOnly(true);
    auto* top = new QHBoxLayout;
    top->addWidget(m_list, 1);
    top->addWidget(m_text, 1);
    auto* save = new QPushButton("保存", this);
    auto* close = new QPushButton("閉じる", this);
    save->setObjectName("save");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &MemoListDlg::ShowSelected);
    connect(save, &QPushButton::clicked, this, &MemoListDlg::Save);
    connect(close, &QPushButton::clicked, this, &MemoListDlg::reject);
    resize(560, 300);
    QTimer::singleShot(100, this, [this] {
        if (m_list->topLevelItemCount() > 0)
            m_list->setCurrentItem(m_list->topLevelItem(0));
    });
}

void MemoListDlg::ShowSelected()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row >= 0 && static_cast<std::size_t>(row) < m_memos.size())
        m_text->setPlainText(QString::fromStdString(m_memos[static_cast<std::size_t>(row)].text));
}

void MemoListDlg::Save()
{
    QDir().mkpath(QString::fromStdString(m_memoFolder));
    QFileDialog dialog(this, QString(), QString::fromStdString(m_memoFolder), "TXT File (*.txt);;All Files (*)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("txt");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QFile file(dialog.selectedFiles().front());
    const std::string text = MemoFileText(m_memos);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)
        || file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        QMessageBox::warning(this, "Marlow", file.errorString());
        return;
    }
    accept();
}

} // namespace screenveil
