#pragma once

#include <cstdint>
#include <string>

// The texts with which the account helper reports a failed account operation. Each operation describes only
// the codes its network-management call can return; any other code reads "Unspecified error.".
enum class AccountOperation
{
    Create,
    Enable,
    Delete,
    Exist,
    InsertInGroup,
    DeleteInGroup,
    ChangePassword,
    GetInfo,
    GetUsers
};

/** "Error in <operation>:  <description of code>". */
std::string AccountErrorMessage(AccountOperation operation, std::uint32_t code);

/** The text for a call that ended in an exception: "Error in <operation>: Unspecified error.". */
std::string AccountExceptionMessage(AccountOperation operation);
