#include "AccountMessages.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

constexpr const char* kUnspecified = "Unspecified error.";

struct OperationTexts
{
    AccountOperation operation;
    const char* name;
    std::vector<std::uint32_t> mappedCodes;
};

// The codes each operation's call can return, as the account interface documents them.
const std::array<OperationTexts, 9> kOperations {{
    {AccountOperation::Create, "AccountCreate", {5, 2223, 2224, 2226, 2245, 2351}},
    {AccountOperation::Enable, "AccountEnable", {5, 87, 2221, 2226, 2234, 2245, 2351, 2452}},
    {AccountOperation::Delete, "AccountDelete", {5, 2221, 2226, 2351}},
    {AccountOperation::Exist, "AccountExist", {5, 2221, 2351}},
    {AccountOperation::InsertInGroup, "AccountInsertInGroup", {5, 1378, 1387, 1388, 2220}},
    {AccountOperation::DeleteInGroup, "AccountDeleteInGroup", {5, 1378, 1387, 2220}},
    {AccountOperation::ChangePassword, "AccountChangePassword", {5, 86, 2221, 2226, 2245, 2351}},
    {AccountOperation::GetInfo, "AccountGetInfo", {5, 2221, 2351}},
    {AccountOperation::GetUsers, "AccountGetUsers", {5, 2351}},
}};

const std::array<std::pair<std::uint32_t, const char*>, 15> kDescriptions {{
    {5, "The user does not have access to the requested information."},
    {86, "The user has entered an invalid password."},
    {87, "One of the function parameters is invalid"},
    {1378,
        "One or more of the members specified were already members of the local group. No new members were "
        "added."},
    {1387, "One or more of the members specified do not exist. Therefore, no new members were added."},
    {1388,
        "One or more of the members cannot be added because their account type is invalid. No new members were "
        "added."},
    {2220, "The local group specified by the groupname parameter does not exist."},
    {2221, "The user name could not be found."},
    {2223, "The group already exists."},
    {2224, "The user account already exists."},
    {2226, "The operation is allowed only on the primary domain controller of the domain."},
    {2234, "The operation is not allowed on specified special groups."},
    {2245, "The password is shorter than required, too long, too recent or not have enough unique characters."},
    {2351, "The computer name is invalid."},
    {2452, "The operation is not allowed on the last administrative account.."},
}};

const OperationTexts& TextsOf(AccountOperation operation)
{
    return *std::find_if(kOperations.begin(), kOperations.end(),
        [operation](const OperationTexts& texts) { return texts.operation == operation; });
}

std::string Describe(const OperationTexts& texts, std::uint32_t code)
{
    if (std::find(texts.mappedCodes.begin(), texts.mappedCodes.end(), code) == texts.mappedCodes.end()) {
        return kUnspecified;
    }
    // Changing a password can only fail on length, so its text says only that.
    if (code == 2245 && texts.operation == AccountOperation::ChangePassword) {
        return "The password is shorter than required.";
    }
    for (const auto& [known, description] : kDescriptions) {
        if (known == code) {
            return description;
        }
    }
    return kUnspecified;
}

} // namespace

std::string AccountErrorMessage(AccountOperation operation, std::uint32_t code)
{
    const OperationTexts& texts = TextsOf(operation);
    return std::string("Error in ") + texts.name + ":  " + Describe(texts, code);
}

std::string AccountExceptionMessage(AccountOperation operation)
{
    return std::string("Error in ") + TextsOf(operation).name + ": " + kUnspecified;
}
