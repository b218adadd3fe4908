#include "LogonStores.h"

#include "Setup/RegistryEx.h"

namespace wardengate {
namespace {

constexpr const char* kWinlogonKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\";
constexpr const char* kLastLogonValue = "AltDefaultUserName";

} // namespace

bool LogonStores::Open(std::string& error)
{
    const std::string appPath = setup.GetAppPath();
    if (appPath.empty() || !CSetupFile::IsFileExist(appPath, 1)) {
        error = "no installation folder is registered";
        return false;
    }
    if (setup.Initialize() != 1) {
        error = "cannot open the settings of " + appPath;
        return false;
    }
    if (users.SetUserDicFilePath(appPath + "/halvoxuid.dat") != 1) {
        error = "cannot open the user dictionary: " + users.GetLastErrorText();
        return false;
    }
    if (voices.SetVoiceDicPath(appPath) != 1) {
        error = "cannot open the voice dictionary of " + appPath;
        return false;
    }
    return true;
}

std::string LastLogonUser()
{
    CRegistryEx registry(platform::HKEY_LOCAL_MACHINE);
    std::string name;
    if (registry.Open(platform::HKEY_LOCAL_MACHINE, kWinlogonKey) == 0 || registry.Read(kLastLogonValue, name) == 0)
        return "";
    return name;
}

} // namespace wardengate
