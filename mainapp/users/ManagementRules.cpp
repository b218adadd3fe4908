#include "users/ManagementRules.h"

#include "users/RegistrationForm.h"
#include "users/UserStrings.h"

#include "AppUserDic.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace deskwarden::users {
namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
        [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

bool IsAdministrator(const CAppUserDic& users, const std::string& id)
{
    CAppUserDic::USER_DICTIONARY info;
    return users.GetUserInfo(id, info) == 1 && info.group == kAdministratorGroup;
}

} // namespace

bool IsAdministratorId(const std::string& id)
{
    return SameIgnoringCase(id, "administrator");
}

bool HasAnotherAdministrator(const CAppUserDic& users, const std::string& id)
{
    std::vector<std::string> ids;
    users.GetUserIDList(ids);
    return std::any_of(ids.begin(), ids.end(),
        [&](const std::string& other) { return !SameIgnoringCase(other, id) && IsAdministrator(users, other); });
}

std::optional<std::string> RefuseGroupChange(const CAppUserDic& users, const std::string& id, int newGroup)
{
    if (newGroup != kAdministratorGroup && IsAdministrator(users, id) && !HasAnotherAdministrator(users, id)) {
        return std::string(kLastAdministrator);
    }
    return std::nullopt;
}

std::optional<std::string> RefuseUserDeletion(
    const CAppUserDic& users, const std::string& rowName, const std::string& id, bool ntFamily)
{
    if (ntFamily && rowName.empty()) {
        return std::string(kAccountRowUndeletable);
    }
    if (IsAdministratorId(id)) {
        return std::string(kAdministratorUndeletable);
    }
    if (IsAdministrator(users, id) && !HasAnotherAdministrator(users, id)) {
        return std::string(kLastAdministrator);
    }
    return std::nullopt;
}

std::optional<std::string> RefuseVoiceDeletion(const CAppUserDic& users, const std::string& id)
{
    std::vector<std::string> nicks;
    users.GetNickList(id, nicks);
    if (nicks.size() > 1) {
        return std::nullopt;
    }
    return std::string(kLastVoice);
}

} // namespace deskwarden::users
