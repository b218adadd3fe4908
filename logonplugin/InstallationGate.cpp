#include "InstallationGate.h"

#include "Setup/SetupFile.h"
#include "StoreSafety.h"

#include "platform/SystemRoot.h"

#include <sys/stat.h>

namespace wardengate {
namespace {

bool Refuse(std::string& reason, std::string text)
{
    reason = std::move(text);
    return false;
}

} // namespace

bool TrustInstallation(uid_t mayOwn, std::string& appPath, std::string& reason)
{
    std::filesystem::path root;
    std::string error;
    if (!platform::ResolveSystemRoot(root, error))
        return Refuse(reason, "no system root: " + error);
    struct stat info = {};
    if (::lstat(root.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return Refuse(reason, "no installation at " + root.string());
    if (info.st_uid != 0 && info.st_uid != mayOwn)
        return Refuse(reason, "the installation belongs to another user");
    appPath = CSetupFile().GetAppPath();
    if (appPath.empty())
        return Refuse(reason, "no installation folder is registered");
    const auto findings = talk::store_safety::CheckInstallation(root.string(), appPath, info.st_uid);
    if (!findings.empty())
        return Refuse(reason, "unsafe installation: " + talk::store_safety::FindingText(findings.front()));
    return true;
}

} // namespace wardengate
