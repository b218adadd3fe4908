#include "Accounts.h"

#include "AccountDatabase.h"
#include "AsciiCase.h"
#include "BoundaryGuard.h"
#include "SystemInformation.h"
#include "SystemRoot.h"

#include <sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace platform {

namespace {

using accounts::AccountDatabase;
using accounts::AccountRecord;

// Only the local machine is served: no name, or this machine's computer name after "\\\\".
bool IsLocalServer(const char* serverName)
{
    if (serverName == nullptr || *serverName == '\0') {
        return true;
    }
    std::string_view server(serverName);
    if (server.starts_with("\\\\")) {
        server.remove_prefix(2);
    }
    std::string computer;
    return GetComputerName(computer) && EqualsIgnoringAsciiCase(server, computer);
}

NET_API_STATUS MapFailure(int sqliteCode)
{
    if (sqlite::IsDamagedDatabaseCode(sqliteCode)) {
        return static_cast<NET_API_STATUS>(ERROR_BADDB);
    }
    switch (sqliteCode & 0xFF) {
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return static_cast<NET_API_STATUS>(ERROR_ACCESS_DENIED);
    case SQLITE_NOMEM:
        return static_cast<NET_API_STATUS>(ERROR_NOT_ENOUGH_MEMORY);
    default:
        return NERR_InternalError;
    }
}

// The status a failed account operation reports, from the exception being handled.
NET_API_STATUS StatusOfAccountFailure() noexcept
{
    try {
        throw;
    } catch (const sqlite::SqliteError& e) {
        return MapFailure(e.Code());
    } catch (const std::bad_alloc&) {
        return static_cast<NET_API_STATUS>(ERROR_NOT_ENOUGH_MEMORY);
    } catch (...) {
        return NERR_InternalError;
    }
}

// Runs one operation on the account database of the current system root. A connection lives for one call.
template<class Operation> NET_API_STATUS WithAccounts(const char* serverName, Operation&& operation) noexcept
{
    return GuardedOr(
        [&]() -> NET_API_STATUS {
            if (!IsLocalServer(serverName)) {
                return NERR_InvalidComputer;
            }
            const std::filesystem::path file = AccountsDatabasePath();
            std::string error;
            if (file.empty() || !EnsureFolder(file.parent_path(), error)) {
                return NERR_InternalError;
            }
            AccountDatabase database(file);
            return operation(database);
        },
        StatusOfAccountFailure);
}

std::string TextOrEmpty(const char* text)
{
    return text != nullptr ? std::string(text) : std::string();
}

// The local part of "COMPUTER\\name"; empty when the domain is another machine.
std::string MemberName(const char* domainAndName)
{
    const std::string text = TextOrEmpty(domainAndName);
    const std::size_t separator = text.rfind('\\');
    if (separator == std::string::npos) {
        return text;
    }
    const std::string domain = text.substr(0, separator);
    std::string computer;
    if (domain == "." || (GetComputerName(computer) && EqualsIgnoringAsciiCase(domain, computer))) {
        return text.substr(separator + 1);
    }
    return {};
}

// Result buffers hold the records first and their texts after them, in one allocation that
// NetApiBufferFree releases, as the Windows functions return them.
class BufferPacker
{
public:
    BufferPacker(std::size_t recordBytes, std::size_t textBytes)
        : m_size(recordBytes + textBytes)
        , m_block(static_cast<std::uint8_t*>(std::calloc(1, m_size == 0 ? 1 : m_size)))
        , m_text(m_block == nullptr ? nullptr : reinterpret_cast<char*>(m_block + recordBytes))
    {
    }

    bool Ok() const { return m_block != nullptr; }
    std::uint8_t* Block() const { return m_block; }

    char* Put(const std::string& text)
    {
        char* start = m_text;
        std::memcpy(start, text.c_str(), text.size() + 1);
        m_text += text.size() + 1;
        return start;
    }

private:
    std::size_t m_size;
    std::uint8_t* m_block;
    char* m_text;
};

std::size_t RecordSize(DWORD level)
{
    switch (level) {
    case 0:
        return sizeof(USER_INFO_0);
    case 1:
        return sizeof(USER_INFO_1);
    case 10:
        return sizeof(USER_INFO_10);
    default:
        return 0;
    }
}

std::size_t TextSize(const AccountRecord& record, DWORD level)
{
    switch (level) {
    case 0:
        return record.name.size() + 1;
    case 1:
        return record.name.size() + record.homeDir.size() + record.comment.size() + record.scriptPath.size() + 4;
    case 10:
        return record.name.size() + record.comment.size() + 1 + record.fullName.size() + 3;
    default:
        return 0;
    }
}

void FillRecord(BufferPacker& packer, std::uint8_t* slot, const AccountRecord& record, DWORD level)
{
    if (level == 0) {
        auto* info = reinterpret_cast<USER_INFO_0*>(slot);
        info->usri0_name = packer.Put(record.name);
    } else if (level == 1) {
        auto* info = reinterpret_cast<USER_INFO_1*>(slot);
        info->usri1_name = packer.Put(record.name);
        info->usri1_password = nullptr;
        info->usri1_password_age = record.passwordAge;
        info->usri1_priv = record.privilege;
        info->usri1_home_dir = packer.Put(record.homeDir);
        info->usri1_comment = packer.Put(record.comment);
        info->usri1_flags = record.flags;
        info->usri1_script_path = packer.Put(record.scriptPath);
    } else {
        auto* info = reinterpret_cast<USER_INFO_10*>(slot);
        info->usri10_name = packer.Put(record.name);
        info->usri10_comment = packer.Put(record.comment);
        info->usri10_usr_comment = packer.Put("");
        info->usri10_full_name = packer.Put(record.fullName);
    }
}

NET_API_STATUS PackRecords(
    const std::vector<AccountRecord>& records, std::size_t first, std::size_t count, DWORD level, std::uint8_t** bufptr)
{
    const std::size_t recordSize = RecordSize(level);
    std::size_t textBytes = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        textBytes += TextSize(records[i], level);
    }
    BufferPacker packer(recordSize * count, textBytes);
    if (!packer.Ok()) {
        return static_cast<NET_API_STATUS>(ERROR_NOT_ENOUGH_MEMORY);
    }
    for (std::size_t i = 0; i < count; ++i) {
        FillRecord(packer, packer.Block() + i * recordSize, records[first + i], level);
    }
    *bufptr = packer.Block();
    return NERR_Success;
}

std::vector<std::string> MemberNames(DWORD level, const std::uint8_t* buf, DWORD totalEntries, bool& valid)
{
    std::vector<std::string> names;
    valid = level == 3 && (buf != nullptr || totalEntries == 0);
    if (!valid) {
        return names;
    }
    const auto* members = reinterpret_cast<const LOCALGROUP_MEMBERS_INFO_3*>(buf);
    for (DWORD i = 0; i < totalEntries; ++i) {
        names.push_back(MemberName(members[i].lgrmi3_domainandname));
    }
    return names;
}

} // namespace

NET_API_STATUS NetUserAdd(const char* serverName, DWORD level, const std::uint8_t* buf, DWORD* parmErr) noexcept
{
    if (level != 1) {
        return static_cast<NET_API_STATUS>(ERROR_INVALID_LEVEL);
    }
    if (buf == nullptr) {
        return static_cast<NET_API_STATUS>(ERROR_INVALID_PARAMETER);
    }
    const auto* info = reinterpret_cast<const USER_INFO_1*>(buf);
    const auto reject = [parmErr](DWORD parameter) {
        if (parmErr != nullptr) {
            *parmErr = parameter;
        }
        return static_cast<NET_API_STATUS>(ERROR_INVALID_PARAMETER);
    };
    if (info->usri1_name == nullptr) {
        return reject(USER_NAME_PARMNUM);
    }
    if (info->usri1_priv != USER_PRIV_USER) {
        return reject(USER_PRIV_PARMNUM);
    }
    return WithAccounts(serverName, [&](AccountDatabase& database) {
        accounts::NewAccount account {info->usri1_name, TextOrEmpty(info->usri1_password), info->usri1_flags,
            TextOrEmpty(info->usri1_comment), TextOrEmpty(info->usri1_home_dir), TextOrEmpty(info->usri1_script_path)};
        return database.AddUser(account);
    });
}

NET_API_STATUS NetUserSetInfo(
    const char* serverName, const char* userName, DWORD level, const std::uint8_t* buf, DWORD* parmErr) noexcept
{
    if (level != 1008 && level != 1003) {
        return static_cast<NET_API_STATUS>(ERROR_INVALID_LEVEL);
    }
    if (userName == nullptr || buf == nullptr) {
        return static_cast<NET_API_STATUS>(ERROR_INVALID_PARAMETER);
    }
    if (level == 1008) {
        const DWORD flags = reinterpret_cast<const USER_INFO_1008*>(buf)->usri1008_flags;
        return WithAccounts(serverName, [&](AccountDatabase& database) { return database.SetFlags(userName, flags); });
    }
    const char* password = reinterpret_cast<const USER_INFO_1003*>(buf)->usri1003_password;
    if (password == nullptr) {
        if (parmErr != nullptr) {
            *parmErr = USER_PASSWORD_PARMNUM;
        }
        return static_cast<NET_API_STATUS>(ERROR_INVALID_PARAMETER);
    }
    return WithAccounts(
        serverName, [&](AccountDatabase& database) { return database.SetPassword(userName, password); });
}

NET_API_STATUS NetUserDel(const char* serverName, const char* userName) noexcept
{
    if (userName == nullptr) {
        return static_cast<NET_API_STATUS>(ERROR_INVALID_PARAMETER);
    }
    return WithAccounts(serverName, [&](AccountDatabase& database) { return database.DeleteUser(userName); });
}

NET_API_STATUS NetUserGetInfo(const char* serverName, const char* userName, DWORD level, std::uint8_t** bufptr) noexcept
{
    if (bufptr == nullptr || userName == nullptr) {
        return static_cast<NET_API_STATUS>(ERROR_INVALID_PARAMETER);
    }
    *bufptr = nullptr;
    if (RecordSize(level) == 0) {
        return static_cast<NET_API_STATUS>(ERROR_INVALID_LEVEL);
    }
    return WithAccounts(serverName, [&](AccountDatabase& database) -> NET_API_STATUS {
        const std::optional<AccountRecord> account = database.FindUser(userName);
        if (!account) {
            return NERR_UserNotFound;
        }
        return PackRecords({*account}, 0, 1, level, bufptr);
    });
}

NET_API_STATUS NetUserEnum(const char* serverName, DWORD level, DWORD filter, std::uint8_t** bufptr, DWORD prefmaxlen,
    DWORD* entriesRead, DWORD* totalEntries, DWORD* resumeHandle) noexcept
{
    if (bufptr == nullptr || entriesRead == nullptr || totalEntries == nullptr) {
        return static_cast<NET_API_STATUS>(ERROR_INVALID_PARAMETER);
    }
    *bufptr = nullptr;
    *entriesRead = 0;
    *totalEntries = 0;
    if (level != 0 && level != 1 && level != 10) {
        return static_cast<NET_API_STATUS>(ERROR_INVALID_LEVEL);
    }
    return WithAccounts(serverName, [&](AccountDatabase& database) -> NET_API_STATUS {
        std::vector<AccountRecord> records;
        // Every account of this database is a normal account; other account kinds do not exist here.
        if (filter == 0 || (filter & FILTER_NORMAL_ACCOUNT) != 0) {
            records = database.ListUsers();
        }
        const std::size_t first = resumeHandle != nullptr ? std::min<std::size_t>(*resumeHandle, records.size()) : 0;
        std::size_t count = 0;
        std::size_t bytes = 0;
        // Each round returns at least one record, and as many more as fit the caller's preferred size.
        while (first + count < records.size()) {
            const std::size_t next = RecordSize(level) + TextSize(records[first + count], level);
            if (count > 0 && prefmaxlen != MAX_PREFERRED_LENGTH && bytes + next > prefmaxlen) {
                break;
            }
            bytes += next;
            ++count;
        }
        const NET_API_STATUS packed = PackRecords(records, first, count, level, bufptr);
        if (packed != NERR_Success) {
            return packed;
        }
        *entriesRead = static_cast<DWORD>(count);
        *totalEntries = static_cast<DWORD>(records.size() - first);
        const bool more = first + count < records.size();
        if (resumeHandle != nullptr) {
            *resumeHandle = more ? static_cast<DWORD>(first + count) : 0;
        }
        return more ? static_cast<NET_API_STATUS>(ERROR_MORE_DATA) : NERR_Success;
    });
}

NET_API_STATUS NetUserChangePassword(
    const char* domainName, const char* userName, const char* oldPassword, const char* newPassword) noexcept
{
    if (userName == nullptr || oldPassword == nullptr || newPassword == nullptr) {
        return static_cast<NET_API_STATUS>(ERROR_INVALID_PARAMETER);
    }
    return WithAccounts(domainName,
        [&](AccountDatabase& database) { return database.ChangePassword(userName, oldPassword, newPassword); });
}

namespace {

// Both membership calls: the level-3 member list of `buf`, handed to `change` with the database.
template<class Change>
NET_API_STATUS ChangeMembers(const char* serverName, const char* groupName, DWORD level, const std::uint8_t* buf,
    DWORD totalEntries, Change change) noexcept
{
    if (groupName == nullptr) {
        return static_cast<NET_API_STATUS>(ERROR_INVALID_PARAMETER);
    }
    return WithAccounts(serverName, [&](AccountDatabase& database) -> NET_API_STATUS {
        bool valid = false;
        const std::vector<std::string> names = MemberNames(level, buf, totalEntries, valid);
        if (!valid) {
            return static_cast<NET_API_STATUS>(level == 3 ? ERROR_INVALID_PARAMETER : ERROR_INVALID_LEVEL);
        }
        return change(database, names);
    });
}

} // namespace

NET_API_STATUS NetLocalGroupAddMembers(
    const char* serverName, const char* groupName, DWORD level, const std::uint8_t* buf, DWORD totalEntries) noexcept
{
    return ChangeMembers(serverName, groupName, level, buf, totalEntries,
        [&](AccountDatabase& database, const std::vector<std::string>& names) {
            return database.AddMembers(groupName, names);
        });
}

NET_API_STATUS NetLocalGroupDelMembers(
    const char* serverName, const char* groupName, DWORD level, const std::uint8_t* buf, DWORD totalEntries) noexcept
{
    return ChangeMembers(serverName, groupName, level, buf, totalEntries,
        [&](AccountDatabase& database, const std::vector<std::string>& names) {
            return database.DeleteMembers(groupName, names);
        });
}

NET_API_STATUS NetApiBufferFree(void* buffer) noexcept
{
    std::free(buffer);
    return NERR_Success;
}

const NetApiLibrary* LoadNetApiLibrary() noexcept
{
    static const NetApiLibrary kLibrary {&NetUserAdd, &NetUserSetInfo, &NetUserDel, &NetUserGetInfo, &NetUserEnum,
        &NetUserChangePassword, &NetLocalGroupAddMembers, &NetLocalGroupDelMembers, &NetApiBufferFree};
    return &kLibrary;
}

} // namespace platform
