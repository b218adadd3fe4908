#pragma once

#include <platform/RemovableDrives.h>

#include <QDialog>

#include <vector>

class CSetupFile;
class QListWidget;

namespace deskwarden::settings {

/**
 * The drive dialog (dialog 248) offered after a registration with the logon permission: the removable drives
 * in a list, "Reload" to list them again, and OK (or a double click) to write a new by-pass key to the
 * selected one. It closes when the key was written; OK without a selection does nothing.
 */
class CBypassDriveDlg final : public QDialog
{
    Q_OBJECT
public:
    CBypassDriveDlg(CSetupFile& setup, QWidget* parent);

    void Reload();
    void accept() override;

private:
    CSetupFile& m_setup;
    QListWidget* m_list;
    std::vector<platform::RemovableDrive> m_drives; // the listing the entries were made from
};

} // namespace deskwarden::settings
