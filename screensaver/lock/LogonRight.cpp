#include "lock/LogonRight.h"

#include "AppUserDic.h"

namespace screenveil {

bool HasLogonRight(const std::string& appPath, const std::string& userId)
{
    if (appPath.empty() || userId.empty())
        return false;
    CAppUserDic users;
    if (users.SetUserDicFilePath(appPath + "/halvoxuid.dat") != 1)
        return false;
    CAppUserDic::USER_INFORMATION info;
    return users.GetUser(userId, info) != 0 && info.logonRight != 0;
}

} // namespace screenveil
