#pragma once

#include "users/DialogStart.h"
#include "users/RegistrationChecks.h"
#include "users/UserProcedures.h"

#include <QDialog>

#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace deskwarden::users {

/**
 * The user registration dialog (template 186): registers a new user or a local account that is not yet a
 * program user, or changes a program user's information; also the first user at the program's first start.
 *
 * Controls keep their ids as object names: name 1061, ID 1063, password 1064, re-entry 1066, group 1069,
 * permissions 1071/1073/1075, message area 1076, OK "1" and Cancel "2". Title and presets come from
 * StartDialogFromStores; OK runs CheckRegistration, then RegisterUser or ChangeUser. Results and the by-pass
 * key question go through CMessageService. The dialog ends with Accepted once the stores have changed.
 */
class CUserRegisterDlg final : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 186;

    /** `stores` and `voice` must outlive the dialog. */
    CUserRegisterDlg(const DialogRequest& request, UserStores& stores, VoiceDialogRunner& voice, QWidget* parent);

    /** True when the user to change could not be read: exec() then ends with Rejected at once. */
    bool ClosesAtStart() const { return m_closeAtStart; }

public slots:
    int exec() override;
    /** OK: checks the fields in order; registers or changes the user when every check passes. */
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void LayOut();
    void Present(const DialogStart& start);
    void WatchForHint(QWidget* control, int hintId);
    RegistrationForm ReadForm() const;
    void ShowFailure(const CheckFailure& failure);
    void OfferBypassKey();

    UserStores& m_stores;
    VoiceDialogRunner& m_voice;
    RegistrationForm m_start;
    bool m_closeAtStart = false;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_id = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_reEntry = nullptr;
    QComboBox* m_group = nullptr;
    QCheckBox* m_logon = nullptr;
    QCheckBox* m_encrypt = nullptr;
    QCheckBox* m_decrypt = nullptr;
    QLabel* m_message = nullptr;
    std::vector<std::pair<QObject*, int>> m_hints;
};

} // namespace deskwarden::users
