#pragma once

#include "WinTypes.h"

#include <cstdint>

// The local account stand-in: a database of accounts and local groups in `<root>/accounts.db` that answers
// the nine network-management functions the suite needs, with their levels, records, buffers and result codes.
// Texts are UTF-8. Names compare without regard to ASCII case and keep the case they were created with.
// Passwords are stored only as salted PBKDF2-HMAC-SHA256 hashes. A fresh database holds "Administrator"
// (administrator, enabled, empty password) and "Guest" (guest, disabled) and the groups "Administrators",
// "Users" and "Guests". Nothing here throws.
namespace platform {

using NET_API_STATUS = DWORD;

inline constexpr NET_API_STATUS NERR_Success = 0;
inline constexpr NET_API_STATUS NERR_BufTooSmall = 2123;
inline constexpr NET_API_STATUS NERR_InternalError = 2140;
inline constexpr NET_API_STATUS NERR_BadUsername = 2202;
inline constexpr NET_API_STATUS NERR_GroupNotFound = 2220;
inline constexpr NET_API_STATUS NERR_UserNotFound = 2221;
inline constexpr NET_API_STATUS NERR_GroupExists = 2223;
inline constexpr NET_API_STATUS NERR_UserExists = 2224;
inline constexpr NET_API_STATUS NERR_NotPrimary = 2226;
inline constexpr NET_API_STATUS NERR_SpeGroupOp = 2234;
inline constexpr NET_API_STATUS NERR_PasswordTooShort = 2245;
inline constexpr NET_API_STATUS NERR_InvalidComputer = 2351;
inline constexpr NET_API_STATUS NERR_LastAdmin = 2452;

// Privilege levels of USER_INFO_1.
inline constexpr DWORD USER_PRIV_GUEST = 0;
inline constexpr DWORD USER_PRIV_USER = 1;
inline constexpr DWORD USER_PRIV_ADMIN = 2;

// Account flags.
inline constexpr DWORD UF_SCRIPT = 0x0001;
inline constexpr DWORD UF_ACCOUNTDISABLE = 0x0002;
inline constexpr DWORD UF_PASSWD_NOTREQD = 0x0020;
inline constexpr DWORD UF_PASSWD_CANT_CHANGE = 0x0040;
inline constexpr DWORD UF_NORMAL_ACCOUNT = 0x0200;
inline constexpr DWORD UF_DONT_EXPIRE_PASSWD = 0x10000;

// NetUserEnum filter and buffer size.
inline constexpr DWORD FILTER_NORMAL_ACCOUNT = 0x0002;
inline constexpr DWORD MAX_PREFERRED_LENGTH = 0xFFFFFFFFu;

// Parameter indexes reported through `parmErr`.
inline constexpr DWORD USER_NAME_PARMNUM = 1;
inline constexpr DWORD USER_PASSWORD_PARMNUM = 3;
inline constexpr DWORD USER_PRIV_PARMNUM = 5;
inline constexpr DWORD USER_FLAGS_PARMNUM = 8;

// The longest account name and password the database accepts (bytes of UTF-8).
inline constexpr std::size_t kMaxAccountNameLength = 20;
inline constexpr std::size_t kMaxPasswordLength = 127;

// The local group names of a fresh database.
inline constexpr const char* kAdministratorsGroup = "Administrators";
inline constexpr const char* kUsersGroup = "Users";
inline constexpr const char* kGuestsGroup = "Guests";

struct USER_INFO_0
{
    char* usri0_name;
};

struct USER_INFO_1
{
    char* usri1_name;
    char* usri1_password; // write only: always null when read
    DWORD usri1_password_age;
    DWORD usri1_priv;
    char* usri1_home_dir;
    char* usri1_comment;
    DWORD usri1_flags;
    char* usri1_script_path;
};

struct USER_INFO_10
{
    char* usri10_name;
    char* usri10_comment;
    char* usri10_usr_comment;
    char* usri10_full_name;
};

struct USER_INFO_1008
{
    DWORD usri1008_flags;
};

struct USER_INFO_1003
{
    char* usri1003_password;
};

struct LOCALGROUP_MEMBERS_INFO_3
{
    char* lgrmi3_domainandname; // "name" or "COMPUTER\\name"
};

// Every function takes `serverName` as Windows does: null or empty for the local machine, or "\\\\" followed by
// this machine's computer name (any case); any other server gives NERR_InvalidComputer. Output buffers are
// allocated by the function and released with NetApiBufferFree.

/** Adds an account (level 1 only; privilege must be USER_PRIV_USER). The account joins "Users". */
NET_API_STATUS NetUserAdd(const char* serverName, DWORD level, const std::uint8_t* buf, DWORD* parmErr) noexcept;

/** Changes an account (level 1008: flags; level 1003: password). Refuses to disable the last enabled administrator. */
NET_API_STATUS NetUserSetInfo(
    const char* serverName, const char* userName, DWORD level, const std::uint8_t* buf, DWORD* parmErr) noexcept;

/** Deletes an account and its group memberships. Refuses the last enabled administrator (NERR_LastAdmin). */
NET_API_STATUS NetUserDel(const char* serverName, const char* userName) noexcept;

/** Reads an account at level 0, 1 or 10 into a new buffer. */
NET_API_STATUS NetUserGetInfo(
    const char* serverName, const char* userName, DWORD level, std::uint8_t** bufptr) noexcept;

/**
 * Lists accounts at level 0 or 1, in name order, `prefmaxlen` bytes' worth per round (MAX_PREFERRED_LENGTH: all).
 * Returns ERROR_MORE_DATA while more remain; `*resumeHandle` carries the position between rounds.
 */
NET_API_STATUS NetUserEnum(const char* serverName, DWORD level, DWORD filter, std::uint8_t** bufptr, DWORD prefmaxlen,
    DWORD* entriesRead, DWORD* totalEntries, DWORD* resumeHandle) noexcept;

/** Changes a password, given the old one (ERROR_INVALID_PASSWORD when it does not match). */
NET_API_STATUS NetUserChangePassword(
    const char* domainName, const char* userName, const char* oldPassword, const char* newPassword) noexcept;

/** Adds accounts to a local group (level 3 only). All or none are added. */
NET_API_STATUS NetLocalGroupAddMembers(
    const char* serverName, const char* groupName, DWORD level, const std::uint8_t* buf, DWORD totalEntries) noexcept;

/** Removes accounts from a local group (level 3 only). All or none are removed. */
NET_API_STATUS NetLocalGroupDelMembers(
    const char* serverName, const char* groupName, DWORD level, const std::uint8_t* buf, DWORD totalEntries) noexcept;

/** Releases a buffer returned by NetUserGetInfo or NetUserEnum; null is accepted. */
NET_API_STATUS NetApiBufferFree(void* buffer) noexcept;

/**
 * The nine functions as one table, the way a caller finds them after loading the network-management library.
 * A caller must treat a null entry as a missing function.
 */
struct NetApiLibrary
{
    decltype(&::platform::NetUserAdd) NetUserAdd;
    decltype(&::platform::NetUserSetInfo) NetUserSetInfo;
    decltype(&::platform::NetUserDel) NetUserDel;
    decltype(&::platform::NetUserGetInfo) NetUserGetInfo;
    decltype(&::platform::NetUserEnum) NetUserEnum;
    decltype(&::platform::NetUserChangePassword) NetUserChangePassword;
    decltype(&::platform::NetLocalGroupAddMembers) NetLocalGroupAddMembers;
    decltype(&::platform::NetLocalGroupDelMembers) NetLocalGroupDelMembers;
    decltype(&::platform::NetApiBufferFree) NetApiBufferFree;
};

/** The built-in table over the account database; never null. */
const NetApiLibrary* LoadNetApiLibrary() noexcept;

} // namespace platform
