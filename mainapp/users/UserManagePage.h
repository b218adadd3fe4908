#pragma once

#include "users/DialogStart.h"
#include "users/UserList.h"
#include "users/UserProcedures.h"

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class CSetupFile;
class QTableWidget;
class QTreeWidget;

namespace deskwarden::users {

/**
 * The user-management page (template 170, "ユーザー管理") of the settings dialog: the program users and the
 * local accounts that could become users (list 1046), the selected user's voices (list 1050), and the
 * buttons 1047 register, 1048 change, 3 delete user, 1052 add voice and 4 delete voice. A double click on
 * a user row changes it. Rows come from ListUserRows and ShownVoiceWords, the changes from the user
 * procedures; questions and results go through CMessageService. Both lists are refilled after a change.
 */
class CUserManagePage final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 170;

    /** The stores, the settings file and `voice` must outlive the page. */
    CUserManagePage(UserStores& stores, CSetupFile& setup, VoiceDialogRunner& voice, QWidget* parent);

    /** Reads the user list again, keeping the selected ID selected when it is still listed. */
    void FillUsers();

private:
    void CreateControls();
    void FillVoices();
    void RegisterNewUser();
    void ChangeSelectedUser();
    void DeleteSelectedUser();
    void AddVoiceToSelected();
    void DeleteSelectedVoice();
    void RunRegisterDialog(const DialogRequest& request);
    std::optional<UserRow> SelectedRow() const;

    UserStores& m_stores;
    CSetupFile& m_setup;
    VoiceDialogRunner& m_voice;
    std::vector<UserRow> m_rows;
    QTableWidget* m_users = nullptr;
    QTreeWidget* m_voices = nullptr;
};

} // namespace deskwarden::users
