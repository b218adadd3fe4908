#include "AccountDatabase.h"

#include "AsciiCase.h"
#include "PasswordHash.h"

#include <sqlite3.h>

#include <algorithm>
#include <ctime>

namespace platform::accounts {

namespace {

using sqlite::Database;
using sqlite::SqliteError;
using sqlite::Statement;
using sqlite::WriteTransaction;

// Marks the file as an account database of ours ("WACC").
constexpr std::int64_t kAccountsApplicationId = 0x57414343;
constexpr std::int64_t kAccountsLayoutVersion = 1;
constexpr int kBusyTimeoutMs = 15000;

constexpr const char* kLayout = R"sql(
CREATE TABLE users(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    name TEXT NOT NULL,
    folded TEXT NOT NULL UNIQUE,
    flags INTEGER NOT NULL,
    salt BLOB NOT NULL,
    hash BLOB NOT NULL,
    iterations INTEGER NOT NULL,
    password_set INTEGER NOT NULL,
    comment TEXT NOT NULL,
    full_name TEXT NOT NULL,
    home_dir TEXT NOT NULL,
    script_path TEXT NOT NULL);
CREATE TABLE groups(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    name TEXT NOT NULL,
    folded TEXT NOT NULL UNIQUE,
    comment TEXT NOT NULL);
CREATE TABLE members(
    grp INTEGER NOT NULL,
    usr INTEGER NOT NULL,
    PRIMARY KEY(grp, usr));
PRAGMA application_id = 1463894851;
PRAGMA user_version = 1;
)sql";

static_assert(kAccountsApplicationId == 1463894851, "the layout text repeats the application id");

constexpr DWORD kKnownFlags = UF_SCRIPT | UF_ACCOUNTDISABLE | UF_PASSWD_NOTREQD | UF_PASSWD_CANT_CHANGE
    | UF_NORMAL_ACCOUNT | UF_DONT_EXPIRE_PASSWD;

[[noreturn]] void Damaged()
{
    throw SqliteError(SQLITE_CORRUPT, "the account database holds a row that breaks its layout");
}

std::int64_t Now()
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::int64_t InsertUser(Database& db, const NewAccount& account)
{
    const PasswordHash hash = HashPassword(account.password);
    Statement insert(db,
        "INSERT INTO users(name, folded, flags, salt, hash, iterations, password_set, comment, "
        "full_name, home_dir, script_path) VALUES(?, ?, ?, ?, ?, ?, ?, ?, '', ?, ?)");
    insert.Bind(1, account.name).Bind(2, FoldAscii(account.name));
    insert.Bind(3, static_cast<std::int64_t>((account.flags & kKnownFlags) | UF_NORMAL_ACCOUNT));
    insert.BindBlob(4, hash.salt.data(), hash.salt.size()).BindBlob(5, hash.hash.data(), hash.hash.size());
    insert.Bind(6, static_cast<std::int64_t>(hash.iterations)).Bind(7, Now()).Bind(8, account.comment);
    insert.Bind(9, account.homeDir).Bind(10, account.scriptPath).Run();
    return sqlite3_last_insert_rowid(db.Handle());
}

std::int64_t InsertGroup(Database& db, const char* name, const char* comment)
{
    Statement insert(db, "INSERT INTO groups(name, folded, comment) VALUES(?, ?, ?)");
    insert.Bind(1, name).Bind(2, FoldAscii(name)).Bind(3, comment).Run();
    return sqlite3_last_insert_rowid(db.Handle());
}

void AddMembership(Database& db, std::int64_t groupId, std::int64_t userId)
{
    Statement(db, "INSERT OR IGNORE INTO members(grp, usr) VALUES(?, ?)").Bind(1, groupId).Bind(2, userId).Run();
}

// A fresh machine: the built-in administrator (enabled, empty password) and the guest (disabled).
void SeedFreshDatabase(Database& db)
{
    const std::int64_t administrators
        = InsertGroup(db, kAdministratorsGroup, "Administrators have complete and unrestricted access to the computer");
    InsertGroup(db, kUsersGroup, "Users are prevented from making accidental or intentional system-wide changes");
    const std::int64_t guests = InsertGroup(db, kGuestsGroup, "Guests have the same access as members of Users");

    NewAccount administrator {"Administrator", "", UF_SCRIPT | UF_DONT_EXPIRE_PASSWD,
        "Built-in account for administering the computer", "", ""};
    AddMembership(db, administrators, InsertUser(db, administrator));

    NewAccount guest {"Guest", "",
        UF_SCRIPT | UF_ACCOUNTDISABLE | UF_PASSWD_NOTREQD | UF_PASSWD_CANT_CHANGE | UF_DONT_EXPIRE_PASSWD,
        "Built-in account for guest access to the computer", "", ""};
    AddMembership(db, guests, InsertUser(db, guest));
}

PasswordHash ReadHash(Statement& row, int saltColumn)
{
    if (!row.IsBlob(saltColumn) || !row.IsBlob(saltColumn + 1) || !row.IsInteger(saltColumn + 2)) {
        Damaged();
    }
    PasswordHash hash;
    hash.salt = row.Blob(saltColumn);
    hash.hash = row.Blob(saltColumn + 1);
    const std::int64_t iterations = row.Integer(saltColumn + 2);
    hash.iterations = (iterations > 0 && iterations <= kMaxIterations) ? static_cast<std::uint32_t>(iterations) : 0;
    if (!IsWellFormed(hash)) {
        Damaged();
    }
    return hash;
}

} // namespace

bool IsValidAccountName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxAccountNameLength) {
        return false;
    }
    constexpr std::string_view kReserved = "\"/\\[]:;|=,+*?<>@";
    bool onlyDotsAndBlanks = true;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || kReserved.find(c) != std::string_view::npos) {
            return false;
        }
        onlyDotsAndBlanks = onlyDotsAndBlanks && (c == '.' || c == ' ');
    }
    return !onlyDotsAndBlanks;
}

AccountDatabase::AccountDatabase(const std::filesystem::path& file)
    : m_db(file, kBusyTimeoutMs)
{
    sqlite::EnsureLayout(m_db, kAccountsApplicationId, kAccountsLayoutVersion, kLayout, &SeedFreshDatabase);
    m_db.UseWriteAheadLog();
}

std::optional<std::int64_t> AccountDatabase::FindGroupId(std::string_view name)
{
    Statement query(m_db, "SELECT id FROM groups WHERE folded = ?");
    if (!query.Bind(1, FoldAscii(name)).Step()) {
        return std::nullopt;
    }
    if (!query.IsInteger(0)) {
        Damaged();
    }
    return query.Integer(0);
}

bool AccountDatabase::IsMember(std::int64_t groupId, std::int64_t userId)
{
    Statement query(m_db, "SELECT 1 FROM members WHERE grp = ? AND usr = ?");
    return query.Bind(1, groupId).Bind(2, userId).Step();
}

DWORD AccountDatabase::PrivilegeOf(std::int64_t userId)
{
    // Windows derives the privilege level from membership, the strongest group first.
    const auto memberOf = [&](const char* group) {
        const std::optional<std::int64_t> groupId = FindGroupId(group);
        return groupId && IsMember(*groupId, userId);
    };
    if (memberOf(kAdministratorsGroup)) {
        return USER_PRIV_ADMIN;
    }
    if (memberOf(kUsersGroup)) {
        return USER_PRIV_USER;
    }
    return memberOf(kGuestsGroup) ? USER_PRIV_GUEST : USER_PRIV_USER;
}

bool AccountDatabase::IsLastEnabledAdministrator(std::int64_t userId)
{
    const std::optional<std::int64_t> administrators = FindGroupId(kAdministratorsGroup);
    if (!administrators || !IsMember(*administrators, userId)) {
        return false;
    }
    Statement others(m_db,
        "SELECT count(*) FROM members JOIN users ON users.id = members.usr "
        "WHERE members.grp = ? AND members.usr <> ? AND (users.flags & ?) = 0");
    others.Bind(1, *administrators).Bind(2, userId).Bind(3, static_cast<std::int64_t>(UF_ACCOUNTDISABLE));
    if (!others.Step() || !others.IsInteger(0)) {
        Damaged();
    }
    return others.Integer(0) == 0;
}

AccountRecord AccountDatabase::ReadAccountRow(sqlite::Statement& row)
{
    // Columns: id, name, flags, password_set, comment, full_name, home_dir, script_path.
    if (!row.IsInteger(0) || !row.IsText(1) || !row.IsInteger(2) || !row.IsInteger(3)) {
        Damaged();
    }
    AccountRecord record;
    record.id = row.Integer(0);
    record.name = row.Text(1);
    const std::int64_t flags = row.Integer(2);
    if (record.name.empty() || record.name.size() > kMaxAccountNameLength || flags < 0 || flags > 0xFFFFFFFFLL) {
        Damaged();
    }
    record.flags = static_cast<DWORD>(flags);
    const std::int64_t age = Now() - row.Integer(3);
    record.passwordAge = static_cast<DWORD>(std::clamp<std::int64_t>(age, 0, 0xFFFFFFFFLL));
    record.comment = row.Text(4);
    record.fullName = row.Text(5);
    record.homeDir = row.Text(6);
    record.scriptPath = row.Text(7);
    record.privilege = PrivilegeOf(record.id);
    return record;
}

constexpr const char* kAccountColumns
    = "SELECT id, name, flags, password_set, comment, full_name, home_dir, script_path FROM users ";

std::optional<AccountRecord> AccountDatabase::FindUser(std::string_view name)
{
    Statement query(m_db, (std::string(kAccountColumns) + "WHERE folded = ?").c_str());
    if (!query.Bind(1, FoldAscii(name)).Step()) {
        return std::nullopt;
    }
    return ReadAccountRow(query);
}

std::vector<AccountRecord> AccountDatabase::ListUsers()
{
    Statement query(m_db, (std::string(kAccountColumns) + "ORDER BY folded").c_str());
    std::vector<AccountRecord> records;
    while (query.Step()) {
        records.push_back(ReadAccountRow(query));
    }
    return records;
}

NET_API_STATUS AccountDatabase::AddUser(const NewAccount& account)
{
    if (!IsValidAccountName(account.name)) {
        return NERR_BadUsername;
    }
    if (account.password.size() > kMaxPasswordLength) {
        return NERR_PasswordTooShort;
    }
    if (FindGroupId(account.name)) {
        return NERR_GroupExists;
    }
    WriteTransaction transaction(m_db);
    if (FindUser(account.name)) {
        return NERR_UserExists;
    }
    const std::int64_t userId = InsertUser(m_db, account);
    if (const std::optional<std::int64_t> users = FindGroupId(kUsersGroup)) {
        AddMembership(m_db, *users, userId);
    }
    transaction.Commit();
    return NERR_Success;
}

NET_API_STATUS AccountDatabase::SetFlags(std::string_view name, DWORD flags)
{
    WriteTransaction transaction(m_db);
    const std::optional<AccountRecord> account = FindUser(name);
    if (!account) {
        return NERR_UserNotFound;
    }
    if ((flags & UF_ACCOUNTDISABLE) != 0 && (account->flags & UF_ACCOUNTDISABLE) == 0
        && IsLastEnabledAdministrator(account->id)) {
        return NERR_LastAdmin;
    }
    Statement update(m_db, "UPDATE users SET flags = ? WHERE id = ?");
    update.Bind(1, static_cast<std::int64_t>((flags & kKnownFlags) | UF_NORMAL_ACCOUNT)).Bind(2, account->id).Run();
    transaction.Commit();
    return NERR_Success;
}

NET_API_STATUS AccountDatabase::SetPassword(std::string_view name, std::string_view password)
{
    if (password.size() > kMaxPasswordLength) {
        return NERR_PasswordTooShort;
    }
    const PasswordHash hash = HashPassword(password);
    WriteTransaction transaction(m_db);
    const std::optional<AccountRecord> account = FindUser(name);
    if (!account) {
        return NERR_UserNotFound;
    }
    Statement update(m_db, "UPDATE users SET salt = ?, hash = ?, iterations = ?, password_set = ? WHERE id = ?");
    update.BindBlob(1, hash.salt.data(), hash.salt.size()).BindBlob(2, hash.hash.data(), hash.hash.size());
    update.Bind(3, static_cast<std::int64_t>(hash.iterations)).Bind(4, Now()).Bind(5, account->id).Run();
    transaction.Commit();
    return NERR_Success;
}

NET_API_STATUS AccountDatabase::ChangePassword(
    std::string_view name, std::string_view oldPassword, std::string_view newPassword)
{
    std::int64_t userId = 0;
    {
        Statement query(m_db, "SELECT id, flags, salt, hash, iterations FROM users WHERE folded = ?");
        if (!query.Bind(1, FoldAscii(name)).Step()) {
            return NERR_UserNotFound;
        }
        if (!query.IsInteger(0) || !query.IsInteger(1)) {
            Damaged();
        }
        userId = query.Integer(0);
        if ((query.Integer(1) & UF_PASSWD_CANT_CHANGE) != 0) {
            return ERROR_ACCESS_DENIED;
        }
        if (!VerifyPassword(oldPassword, ReadHash(query, 2))) {
            return ERROR_INVALID_PASSWORD;
        }
    }
    if (newPassword.size() > kMaxPasswordLength) {
        return NERR_PasswordTooShort;
    }
    const PasswordHash hash = HashPassword(newPassword);
    WriteTransaction transaction(m_db);
    // The old password must still be the current one when the new one is written.
    Statement check(m_db, "SELECT salt, hash, iterations FROM users WHERE id = ?");
    if (!check.Bind(1, userId).Step()) {
        return NERR_UserNotFound;
    }
    if (!VerifyPassword(oldPassword, ReadHash(check, 0))) {
        return ERROR_INVALID_PASSWORD;
    }
    Statement update(m_db, "UPDATE users SET salt = ?, hash = ?, iterations = ?, password_set = ? WHERE id = ?");
    update.BindBlob(1, hash.salt.data(), hash.salt.size()).BindBlob(2, hash.hash.data(), hash.hash.size());
    update.Bind(3, static_cast<std::int64_t>(hash.iterations)).Bind(4, Now()).Bind(5, userId).Run();
    transaction.Commit();
    return NERR_Success;
}

NET_API_STATUS AccountDatabase::DeleteUser(std::string_view name)
{
    WriteTransaction transaction(m_db);
    const std::optional<AccountRecord> account = FindUser(name);
    if (!account) {
        return NERR_UserNotFound;
    }
    if ((account->flags & UF_ACCOUNTDISABLE) == 0 && IsLastEnabledAdministrator(account->id)) {
        return NERR_LastAdmin;
    }
    Statement(m_db, "DELETE FROM members WHERE usr = ?").Bind(1, account->id).Run();
    Statement(m_db, "DELETE FROM users WHERE id = ?").Bind(1, account->id).Run();
    transaction.Commit();
    return NERR_Success;
}

NET_API_STATUS AccountDatabase::AddMembers(std::string_view group, const std::vector<std::string>& names)
{
    WriteTransaction transaction(m_db);
    const std::optional<std::int64_t> groupId = FindGroupId(group);
    if (!groupId) {
        return NERR_GroupNotFound;
    }
    std::vector<std::int64_t> userIds;
    for (const std::string& name : names) {
        const std::optional<AccountRecord> account = FindUser(name);
        if (!account) {
            return FindGroupId(name) ? ERROR_INVALID_MEMBER : ERROR_NO_SUCH_MEMBER;
        }
        if (IsMember(*groupId, account->id)
            || std::find(userIds.begin(), userIds.end(), account->id) != userIds.end()) {
            return ERROR_MEMBER_IN_ALIAS;
        }
        userIds.push_back(account->id);
    }
    for (const std::int64_t userId : userIds) {
        AddMembership(m_db, *groupId, userId);
    }
    transaction.Commit();
    return NERR_Success;
}

NET_API_STATUS AccountDatabase::DeleteMembers(std::string_view group, const std::vector<std::string>& names)
{
    WriteTransaction transaction(m_db);
    const std::optional<std::int64_t> groupId = FindGroupId(group);
    if (!groupId) {
        return NERR_GroupNotFound;
    }
    const bool administrators = EqualsIgnoringAsciiCase(group, kAdministratorsGroup);
    for (const std::string& name : names) {
        const std::optional<AccountRecord> account = FindUser(name);
        if (!account) {
            return ERROR_NO_SUCH_MEMBER;
        }
        if (!IsMember(*groupId, account->id)) {
            return ERROR_MEMBER_NOT_IN_ALIAS;
        }
        // Checked against the memberships left so far, so removing every administrator at once is refused too.
        if (administrators && (account->flags & UF_ACCOUNTDISABLE) == 0 && IsLastEnabledAdministrator(account->id)) {
            return NERR_LastAdmin;
        }
        Statement(m_db, "DELETE FROM members WHERE grp = ? AND usr = ?").Bind(1, *groupId).Bind(2, account->id).Run();
    }
    transaction.Commit();
    return NERR_Success;
}

} // namespace platform::accounts
