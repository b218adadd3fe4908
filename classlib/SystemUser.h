#pragma once

#include "TalkExport.h"

#include <platform/Accounts.h>

#include <string>
#include <vector>

/**
 * Local accounts and their local-group membership, through the network-management functions. Each account
 * operation returns 1 on success; on failure it returns 0 (AccountGetInfo: -1) and sets `error` to the
 * operation's error text, except when the functions cannot be found, which fails without an error text.
 * Holds no data; nothing throws.
 */
class TALK_API CSystemUser
{
public:
    CSystemUser() = default;
    CSystemUser(const CSystemUser&) = default;
    CSystemUser& operator=(const CSystemUser&) = default;
    virtual ~CSystemUser();

    /** Adds an ordinary account, created disabled (flags: script, password never expires, disabled). */
    int AccountCreate(std::string name, std::string password, std::string& error);
    /** Enables (non-zero `enable`) or disables the account. */
    int AccountEnable(std::string name, int enable, std::string& error);
    int AccountDelete(std::string name, std::string& error);
    /** 1 when the account can be read. */
    int AccountExist(std::string name, std::string& error);
    int AccountInsertInGroup(std::string name, std::string group, std::string& error);
    int AccountDeleteInGroup(std::string name, std::string group, std::string& error);
    int AccountChangePassword(std::string name, std::string oldPassword, std::string newPassword, std::string& error);
    /** The account's privilege: 0 guest, 1 user, 2 administrator; -1 on failure. */
    int AccountGetInfo(std::string name, std::string& error);
    /** Appends the names of all normal local accounts to `names` (which is not emptied first). */
    int AccountGetUsers(std::vector<std::string>& names, std::string& error);
    /** The computer name (at most 15 bytes); 1 on success, else "" and 0. */
    int GetComputerNameLocal(std::string& name);

protected:
    /**
     * Finds the network-management functions; null (or a null entry) means the library or the function is
     * missing. Overridden only where another set of functions must be reached.
     */
    virtual const platform::NetApiLibrary* LoadNetApi() const;

private:
    std::string ServerName();
};
