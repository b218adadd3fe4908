#pragma once

#include <string>

class CAppUserDic;
class CAppUserVoiceDic;
class CSystemUser;

namespace deskwarden::users {

/** The stores the user procedures change; `ntFamily` says whether program users are local accounts too. */
struct UserStores
{
    CAppUserDic& users;
    CAppUserVoiceDic& voices;
    CSystemUser& accounts;
    bool ntFamily = true;
};

/** True on the NT family of the version the platform reports. */
bool IsNtFamily();

/** Removes the model file the voice dialog left in the work folder for `nick` (nothing for an empty nick). */
void RemoveTemporaryModel(const UserStores& stores, const std::string& nick);

} // namespace deskwarden::users
