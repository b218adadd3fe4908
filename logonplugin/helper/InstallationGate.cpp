#include "InstallationGate.h"

#include "Setup/SetupFile.h"
#include "StoreSafety.h"

#include "platform/SystemRoot.h"

#include <pwd.h>
#include <sys/stat.h>

namespace wardengate {
namespace {

bool Refuse(VoiceVerdict& verdict, std::string reason)
{
    verdict.kind = VerdictKind::Unavailable;
    verdict.reason = std::move(reason);
    return false;
}

bool OwnerMayServe(uid_t owner, const std::string& user)
{
    if (owner == 0)
        return true;
    const passwd* account = ::getpwnam(user.c_str());
    return account != nullptr && account->pw_uid == owner;
}

} // namespace

bool TrustInstallation(const std::string& user, std::string& appPath, VoiceVerdict& verdict)
{
    std::filesystem::path root;
    std::string error;
    if (!platform::ResolveSystemRoot(root, error))
        return Refuse(verdict, "no system root: " + error);
    struct stat info = {};
    if (::lstat(root.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return Refuse(verdict, "no installation at " + root.string());
    if (!OwnerMayServe(info.st_uid, user))
        return Refuse(verdict, "the installation belongs to another user");
    appPath = CSetupFile().GetAppPath();
    if (appPath.empty())
        return Refuse(verdict, "no installation folder is registered");
    const auto findings = talk::store_safety::CheckInstallation(root.string(), appPath, info.st_uid);
    if (!findings.empty())
        return Refuse(verdict, "unsafe installation: " + talk::store_safety::FindingText(findings.front()));
    return true;
}

} // namespace wardengate
