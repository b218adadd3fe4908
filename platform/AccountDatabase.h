#pragma once

#include "Accounts.h"
#include "SqliteDatabase.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The account database behind the network-management functions: accounts, local groups and membership in
// one SQLite file. Each change is one write transaction. Rows are checked as they are read; a row that
// breaks the layout throws SqliteError(SQLITE_CORRUPT) like a damaged file does.
namespace platform::accounts {

struct AccountRecord
{
    std::int64_t id = 0;
    std::string name;
    DWORD flags = 0;
    DWORD privilege = USER_PRIV_USER;
    DWORD passwordAge = 0;
    std::string comment;
    std::string fullName;
    std::string homeDir;
    std::string scriptPath;
};

struct NewAccount
{
    std::string name;
    std::string password;
    DWORD flags = 0;
    std::string comment;
    std::string homeDir;
    std::string scriptPath;
};

/** True when `name` may name a new account: 1 to 20 bytes, no control or reserved characters, not only dots and blanks.
 */
bool IsValidAccountName(std::string_view name);

class AccountDatabase
{
public:
    /** Opens the file, creating it with the two built-in accounts and three groups when new. Throws SqliteError. */
    explicit AccountDatabase(const std::filesystem::path& file);

    NET_API_STATUS AddUser(const NewAccount& account);
    std::optional<AccountRecord> FindUser(std::string_view name);
    /** Accounts in case-folded name order. */
    std::vector<AccountRecord> ListUsers();
    NET_API_STATUS SetFlags(std::string_view name, DWORD flags);
    NET_API_STATUS SetPassword(std::string_view name, std::string_view password);
    NET_API_STATUS ChangePassword(std::string_view name, std::string_view oldPassword, std::string_view newPassword);
    NET_API_STATUS DeleteUser(std::string_view name);
    NET_API_STATUS AddMembers(std::string_view group, const std::vector<std::string>& names);
    NET_API_STATUS DeleteMembers(std::string_view group, const std::vector<std::string>& names);

private:
    std::optional<std::int64_t> FindGroupId(std::string_view name);
    bool IsMember(std::int64_t groupId, std::int64_t userId);
    /** True when `userId` is the only enabled member of "Administrators". */
    bool IsLastEnabledAdministrator(std::int64_t userId);
    AccountRecord ReadAccountRow(sqlite::Statement& row);
    DWORD PrivilegeOf(std::int64_t userId);

    sqlite::Database m_db;
};

} // namespace platform::accounts
