#include "users/DialogStart.h"

#include "users/ManagementRules.h"
#include "users/UserStrings.h"

#include "AppUserDic.h"
#include "SystemUser.h"

namespace deskwarden::users {
namespace {

void GrantAll(RegistrationForm& form)
{
    form.logon = true;
    form.encrypt = true;
    form.decrypt = true;
}

void StartForAccount(DialogStart& start, const DialogRequest& request, bool ntFamily, int accountPrivilege)
{
    start.titleId = kTitleAccountRegister;
    start.form.id = request.presetAccount;
    start.idFixed = true;
    if (!ntFamily) {
        return;
    }
    if (accountPrivilege == kAdministratorPrivilege) {
        start.form.group = kAdministratorGroup;
        GrantAll(start.form);
    } else {
        start.form.group = kGeneralGroup;
        start.form.logon = true;
    }
}

void StartForNewUser(DialogStart& start, const DialogRequest& request, bool ntFamily)
{
    start.titleId = kTitleRegister;
    if (!request.firstRun) {
        return;
    }
    // No administrator exists before the first registration, so the first user must become one.
    start.form.group = kAdministratorGroup;
    GrantAll(start.form);
    if (ntFamily) {
        start.form.id = "Administrator";
        start.idFixed = true;
    }
}

void StartForChange(DialogStart& start, const DialogRequest& request, const std::optional<StoredUser>& stored)
{
    start.titleId = kTitleChange;
    if (!stored) {
        start.closeWithCancel = true;
        return;
    }
    start.form.id = request.id;
    start.form.name = stored->name;
    start.form.password = stored->password;
    start.form.reEntry = stored->password;
    start.form.group = stored->group;
    start.form.logon = stored->logon;
    start.form.encrypt = stored->encrypt;
    start.form.decrypt = stored->decrypt;
}

std::optional<StoredUser> ReadStoredUser(const CAppUserDic& users, const std::string& id)
{
    CAppUserDic::USER_DICTIONARY info;
    if (users.GetUserInfo(id, info) != 1) {
        return std::nullopt;
    }
    auto right = [&](std::size_t at) { return info.authority.size() > at && info.authority[at] == '1'; };
    return StoredUser {info.name, info.password, info.group, right(0), right(1), right(2)};
}

} // namespace

DialogStart StartDialog(
    const DialogRequest& request, bool ntFamily, int accountPrivilege, const std::optional<StoredUser>& stored)
{
    DialogStart start;
    start.form.mode = request.mode;
    start.form.presetAccount = request.presetAccount;
    start.form.firstRun = request.firstRun;
    if (request.mode == kModeExistingId && !request.presetAccount.empty() && !request.firstRun) {
        StartForAccount(start, request, ntFamily, accountPrivilege);
    } else if (request.mode == kModeNewUser || request.firstRun) {
        StartForNewUser(start, request, ntFamily);
    } else {
        StartForChange(start, request, stored);
    }
    if (IsAdministratorId(start.form.id) || IsAdministratorId(request.presetAccount)) {
        GrantAll(start.form);
        start.idFixed = true;
    }
    start.title = StringText(start.titleId);
    return start;
}

DialogStart StartDialogFromStores(
    const DialogRequest& request, bool ntFamily, const CAppUserDic& users, CSystemUser& accounts)
{
    std::string error;
    const int privilege = request.presetAccount.empty() ? -1 : accounts.AccountGetInfo(request.presetAccount, error);
    return StartDialog(request, ntFamily, privilege, ReadStoredUser(users, request.id));
}

} // namespace deskwarden::users
