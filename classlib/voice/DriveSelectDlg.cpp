#include "voice/DriveSelectDlg.h"

#include "MessageService.h"
#include "voice/DriveList.h"

#include <QCursor>
#include <QFont>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace talk::voice {

namespace {

// 83 x 67 dialog units of a 9 pt font come to about this many pixels.
constexpr int kWidth = 170;
constexpr int kHeight = 140;

} // namespace

DriveSelectDlg::DriveSelectDlg(std::string caption, QWidget* parent)
    : QDialog(parent)
    , m_caption(std::move(caption))
    , m_list(new QListWidget(this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QString::fromUtf8(DriveList::kTitle));
    setFont(QFont("IPAGothic", 9));
    setFixedSize(kWidth, kHeight);
    auto* cancel = new QPushButton(QString::fromUtf8(kCancelText), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_list);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemActivated, this, &DriveSelectDlg::Choose);
}

std::string DriveSelectDlg::ChooseDrive()
{
    m_chosenFolder.clear();
    m_list->clear();
    const DriveList drives = DriveList::OfAttachedDrives();
    if (drives.IsEmpty()) {
        CMessageService::Report(DriveList::kNoDriveCaption, DriveList::kNoDriveText, MessageIcon::Warning);
        return {};
    }
    for (std::size_t i = 0; i < drives.Entries().size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(drives.Entries()[i]), m_list);
        // The letter alone says nothing on Linux: the mount folder tells the drives apart.
        item->setToolTip(QString::fromStdString(drives.FolderOf(i)));
        item->setData(Qt::UserRole, QString::fromStdString(drives.FolderOf(i)));
    }
    m_list->setCurrentRow(0);
    move(QCursor::pos());
    exec();
    return m_chosenFolder;
}

void DriveSelectDlg::Choose(QListWidgetItem* item)
{
    m_chosenFolder = item ? item->data(Qt::UserRole).toString().toStdString() : std::string();
    if (m_chosenFolder.empty()) {
        CMessageService::Report(m_caption, DriveList::kNoKeyText, MessageIcon::Error);
        reject();
        return;
    }
    accept();
}

} // namespace talk::voice
