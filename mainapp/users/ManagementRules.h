#pragma once

#include <optional>
#include <string>

class CAppUserDic;

namespace deskwarden::users {

/** True when some program user other than `id` (ASCII case ignored) is in the administrator group. */
bool HasAnotherAdministrator(const CAppUserDic& users, const std::string& id);

/** The refusal text when user `id` may not move to group `newGroup`, or nothing when he may. */
std::optional<std::string> RefuseGroupChange(const CAppUserDic& users, const std::string& id, int newGroup);

/**
 * The refusal text when the user-list row of `id` may not be deleted, or nothing when it may. A row
 * without a name is a local account that is not a program user; on the NT family it is never deleted.
 */
std::optional<std::string> RefuseUserDeletion(
    const CAppUserDic& users, const std::string& rowName, const std::string& id, bool ntFamily);

/** The refusal text when user `id` may not lose a voice (his last one), or nothing when he may. */
std::optional<std::string> RefuseVoiceDeletion(const CAppUserDic& users, const std::string& id);

/** True when `id` is "administrator" in any letter case. */
bool IsAdministratorId(const std::string& id);

} // namespace deskwarden::users
