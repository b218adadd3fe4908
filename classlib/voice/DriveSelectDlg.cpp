#include "voice/DriveSelectDlg.h"

#include "MessageService.h"
#include "voice/DriveList.h"

#include <QCursor>
#include <QFont>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace talk::voice {

DriveSelectDlg::DriveSelectDlg(std::string caption, QWidget* parent, DriveSelectLook look)
    : QDialog(parent)
    , m_caption(std::move(caption))
    , m_look(std::move(look))
    , m_list(new QListWidget(this))
{
    setObjectName(QString::number(m_look.templateId));
    setWindowTitle(QString::fromUtf8(DriveList::kTitle));
    setFont(QFont("IPAGothic", 9));
    setFixedSize(m_look.width, m_look.height);
    auto* cancel = new QPushButton(QString::fromStdString(m_look.buttonText), this);
    m_list->setObjectName(QString::fromStdString(m_look.listName));
    cancel->setObjectName(QString::fromStdString(m_look.buttonName));
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
        CMessageService::Report(m_look.noDriveCaption, m_look.noDriveText, MessageIcon::Warning);
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
        CMessageService::Report(m_caption, DriveList::kNoKeyText, m_look.noKeyIcon);
        reject();
        return;
    }
    accept();
}

} // namespace talk::voice
