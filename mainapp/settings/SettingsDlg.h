#pragma once

#include "settings/SettingsContext.h"

#include <QDialog>

class QLabel;
class QTreeWidget;
class QStackedWidget;

namespace deskwarden::users {
class CUserManagePage;
class VoiceDialogRunner;
} // namespace deskwarden::users

namespace deskwarden::settings {

class CProgramSettingsPage;

/**
 * The settings dialog (dialog 168): the list of four pages at the left, the chosen page in the frame (1027)
 * under its title (1057) and description (1059). OK saves the program settings page and closes only when
 * that succeeded; Cancel closes without saving it. The other pages act at once.
 */
class CSettingsDlg final : public QDialog
{
    Q_OBJECT
public:
    enum Page
    {
        kProgramPage = 0,
        kUserPage = 1,
        kBackupPage = 2,
        kSkinPage = 3,
    };

    CSettingsDlg(const SettingsContext& context, users::VoiceDialogRunner& voice, QWidget* parent);

    void ShowPage(int page);
    void accept() override;

private:
    QTreeWidget* m_menu;
    QStackedWidget* m_frame;
    QLabel* m_title;
    QLabel* m_description;
    CProgramSettingsPage* m_program;
    users::CUserManagePage* m_users;
};

} // namespace deskwarden::settings
