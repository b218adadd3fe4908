#include "Accounts.h"
#include "Registry.h"

#include <array>
#include <utility>

namespace platform {

namespace {

// The neutral-language texts of the system message table for the codes the platform layer returns.
constexpr std::array<std::pair<LSTATUS, const char*>, 33> kMessages {{
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough storage is available to process this command."},
    {ERROR_INVALID_DATA, "The data is invalid."},
    {ERROR_INVALID_PASSWORD, "The specified network password is not correct."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {ERROR_INVALID_LEVEL, "The system call level is not correct."},
    {ERROR_BAD_PATHNAME, "The specified path is invalid."},
    {ERROR_MORE_DATA, "More data is available."},
    {ERROR_NO_MORE_ITEMS, "No more data is available."},
    {ERROR_BADDB, "The configuration registry database is corrupt."},
    {ERROR_BADKEY, "The configuration registry key is invalid."},
    {ERROR_CANTOPEN, "The configuration registry key could not be opened."},
    {ERROR_CANTREAD, "The configuration registry key could not be read."},
    {ERROR_CANTWRITE, "The configuration registry key could not be written."},
    {ERROR_KEY_DELETED, "Illegal operation attempted on a registry key that has been marked for deletion."},
    {ERROR_MEMBER_NOT_IN_ALIAS, "The specified account name is not a member of the group."},
    {ERROR_MEMBER_IN_ALIAS, "The specified account name is already a member of the group."},
    {ERROR_NO_SUCH_MEMBER,
        "A member could not be added to or removed from the local group because the member does not exist."},
    {ERROR_INVALID_MEMBER,
        "A new member could not be added to a local group because the member has the wrong account type."},
    {static_cast<LSTATUS>(NERR_InternalError), "An internal error occurred."},
    {static_cast<LSTATUS>(NERR_BadUsername), "The user name or group name parameter is invalid."},
    {static_cast<LSTATUS>(NERR_GroupNotFound), "The group name could not be found."},
    {static_cast<LSTATUS>(NERR_UserNotFound), "The user name could not be found."},
    {static_cast<LSTATUS>(NERR_GroupExists), "The group already exists."},
    {static_cast<LSTATUS>(NERR_UserExists), "The user account already exists."},
    {static_cast<LSTATUS>(NERR_NotPrimary),
        "This operation is only allowed on the primary domain controller of the domain."},
    {static_cast<LSTATUS>(NERR_SpeGroupOp), "This operation is not allowed on this special group."},
    {static_cast<LSTATUS>(NERR_PasswordTooShort),
        "The password does not meet the password policy requirements. Check the minimum password length, password "
        "complexity and password history requirements."},
    {static_cast<LSTATUS>(NERR_InvalidComputer), "This computer name is invalid."},
    {static_cast<LSTATUS>(NERR_LastAdmin), "This operation is not allowed on the last administrative account."},
}};

} // namespace

std::string SystemErrorText(LSTATUS code)
{
    for (const auto& [known, text] : kMessages) {
        if (known == code) {
            return text;
        }
    }
    return "Unknown error " + std::to_string(code) + ".";
}

} // namespace platform
