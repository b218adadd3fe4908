#include "users/UserList.h"

#include "users/RegistrationForm.h"
#include "users/UserStrings.h"

#include "AppUserDic.h"
#include "SystemUser.h"

namespace deskwarden::users {
namespace {

constexpr int kUserPrivilege = 1;
constexpr int kAdministratorPrivilege = 2;

bool Granted(const std::string& authority, std::size_t at)
{
    return authority.size() > at && authority[at] == '1';
}

void AddProgramUsers(const CAppUserDic& users, std::vector<UserRow>& rows)
{
    std::vector<std::string> ids;
    users.GetUserIDList(ids);
    for (const std::string& id : ids) {
        CAppUserDic::USER_DICTIONARY info;
        if (users.GetUserInfo(id, info) != 1) {
            continue;
        }
        const int group = info.group == kAdministratorGroup ? kGroupAdministrator : kGroupGeneral;
        rows.push_back({info.name, info.id, group, Granted(info.authority, 0), Granted(info.authority, 1),
            Granted(info.authority, 2)});
    }
}

// Guests are left out: they could never log on with a voice.
bool MayBecomeProgramUser(CSystemUser& accounts, const std::string& name)
{
    std::string error;
    const int privilege = accounts.AccountGetInfo(name, error);
    return privilege == kUserPrivilege || privilege == kAdministratorPrivilege;
}

} // namespace

std::vector<UserRow> ListUserRows(const CAppUserDic& users, CSystemUser& accounts, bool ntFamily)
{
    std::vector<UserRow> rows;
    AddProgramUsers(users, rows);
    if (!ntFamily) {
        return rows;
    }
    std::vector<std::string> names;
    std::string error;
    accounts.AccountGetUsers(names, error);
    for (const std::string& name : names) {
        if (users.VerifyUserInfo(name) == -1 && MayBecomeProgramUser(accounts, name)) {
            rows.push_back({"", name, 0, false, false, false});
        }
    }
    return rows;
}

} // namespace deskwarden::users
