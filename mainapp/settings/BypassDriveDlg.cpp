#include "settings/BypassDriveDlg.h"

#include "settings/BypassKeyWriter.h"
#include "settings/SettingsActions.h"
#include "settings/SettingsStrings.h"

#include "Setup/SetupFile.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace deskwarden::settings {

CBypassDriveDlg::CBypassDriveDlg(CSetupFile& setup, QWidget* parent)
    : QDialog(parent)
    , m_setup(setup)
    , m_list(new QListWidget(this))
{
    setObjectName("CBypassDriveDlg");
    setWindowTitle(QString::fromUtf8(kBypassDriveTitle));
    setFont(QFont("IPAGothic", 9));
    m_list->setObjectName("1000");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(kCancel));
    auto* reload = buttons->addButton(QString::fromUtf8(kReload), QDialogButtonBox::ActionRole);
    reload->setObjectName("Reload");
    connect(reload, &QPushButton::clicked, this, &CBypassDriveDlg::Reload);
    connect(buttons, &QDialogButtonBox::accepted, this, &CBypassDriveDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A double click, or Enter on an entry, chooses that entry.
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        item->setSelected(true);
        accept();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(300, 200);
    Reload();
    m_list->setFocus();
}

void CBypassDriveDlg::Reload()
{
    m_drives = platform::ListRemovableDrives();
    m_list->clear();
    for (const platform::RemovableDrive& drive : m_drives) {
        auto* item = new QListWidgetItem(QString::fromStdString(bypass_key::ListEntryText(drive)), m_list);
        item->setToolTip(QString::fromStdString(drive.folder.string()));
    }
}

void CBypassDriveDlg::accept()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty() || result() == QDialog::Accepted)
        return; // nothing chosen, or the key was written already by the same key press
    const int row = m_list->row(selected.front());
    if (row < 0 || row >= static_cast<int>(m_drives.size()))
        return;
    const bypass_key::WriteResult result
        = bypass_key::WriteNewKey(m_setup.GetSetupSecure(), m_drives[static_cast<std::size_t>(row)].folder.string());
    actions::ReportKeyWrite(result);
    if (result == bypass_key::WriteResult::Written)
        QDialog::accept();
}

} // namespace deskwarden::settings
