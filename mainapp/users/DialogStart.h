#pragma once

#include "users/RegistrationForm.h"

#include <optional>
#include <string>

class CAppUserDic;
class CSystemUser;

namespace deskwarden::users {

/** How the registration dialog is opened by its caller. */
struct DialogRequest
{
    int mode = kModeNewUser;
    std::string presetAccount;
    bool firstRun = false;
    std::string id; // the user to change in mode 2
};

/** The stored user a mode-2 dialog changes. */
struct StoredUser
{
    std::string name;
    std::string password;
    int group = kGeneralGroup;
    bool logon = false;
    bool encrypt = false;
    bool decrypt = false;
};

/** The registration dialog's title and the field values it opens with. */
struct DialogStart
{
    int titleId = 0;
    std::string title;
    RegistrationForm form;
    bool idFixed = false;
    bool closeWithCancel = false; // the user to change could not be read
};

/** The privilege AccountGetInfo reports for an administrator account. */
inline constexpr int kAdministratorPrivilege = 2;

/**
 * The dialog's start for `request`. `accountPrivilege` is the preset account's privilege (-1 unknown);
 * `stored` is the user to change in mode 2, nothing when he could not be read.
 */
DialogStart StartDialog(
    const DialogRequest& request, bool ntFamily, int accountPrivilege, const std::optional<StoredUser>& stored);

/** StartDialog with the privilege and the stored user read from the stores. */
DialogStart StartDialogFromStores(
    const DialogRequest& request, bool ntFamily, const CAppUserDic& users, CSystemUser& accounts);

} // namespace deskwarden::users
