#pragma once

#include <string>
#include <vector>

class CAppUserDic;
class CSystemUser;

namespace deskwarden::users {

/** One row of the user page's list. An account that is not yet a program user has an empty name. */
struct UserRow
{
    std::string name;
    std::string id;
    int groupStringId = 0; // 118 administrator, 131 general user; 0 on an account-only row
    bool logon = false;
    bool encrypt = false;
    bool decrypt = false;

    bool IsAccountOnly() const { return name.empty(); }
    bool operator==(const UserRow&) const = default;
};

/**
 * The rows of the user page: every readable program user in dictionary order, then on the NT family each
 * local account of user or administrator privilege that is no program user (ID compared without case).
 */
std::vector<UserRow> ListUserRows(const CAppUserDic& users, CSystemUser& accounts, bool ntFamily);

} // namespace deskwarden::users
