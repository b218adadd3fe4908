#pragma once

#include "settings/ProgramSettings.h"

#include <QWidget>

class CSetupFile;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace deskwarden::settings {

/**
 * The program settings page (dialog 109): the secure folder, the two authentication modes, the two delete
 * options and the voice logon switch, which shows the registry's state. Nothing is stored until Save.
 */
class CProgramSettingsPage final : public QWidget
{
    Q_OBJECT
public:
    CProgramSettingsPage(CSetupFile& setup, LogonPlace place, QWidget* parent);

    /**
     * Stores the page. An unacceptable folder is told ("Invalid Directory!") and false returned; switching
     * the voice logon on asks for a restart.
     */
    bool Save();

private:
    void Load();
    void UpdateFolderControls();
    void Browse();
    ProgramSettingsForm ReadForm() const;

    CSetupFile& m_setup;
    LogonPlace m_place;
    QCheckBox* m_logonVoice;
    QCheckBox* m_deleteSource;
    QCheckBox* m_deleteBundle;
    QRadioButton* m_logonModes[3];
    QRadioButton* m_fileModes[3];
    QCheckBox* m_makeType;
    QLineEdit* m_folder;
    QPushButton* m_browse;
    QLabel* m_pam;
};

} // namespace deskwarden::settings
