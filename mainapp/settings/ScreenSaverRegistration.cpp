#include "settings/ScreenSaverRegistration.h"

#include "settings/RegistryText.h"

#include "IniFile.h"
#include "Setup/SetupFile.h"

#include <platform/AsciiCase.h>

namespace deskwarden::settings::screen_saver {

namespace {

std::string SystemIniPath(const std::string& windowsFolder)
{
    return windowsFolder + "/" + kSystemIni;
}

bool NamesSaver(const std::string& value, const std::string& systemFolder)
{
    return platform::EqualsIgnoringAsciiCase(value, SaverPath(systemFolder));
}

bool IsRegisteredNt(const std::string& systemFolder)
{
    const auto active = registry_text::Read(platform::HKEY_CURRENT_USER, kCurrentUserDesktop, kActiveValue);
    if (active != "1")
        return false;
    const auto saver = registry_text::Read(platform::HKEY_CURRENT_USER, kCurrentUserDesktop, kSaverValue);
    return saver && NamesSaver(*saver, systemFolder);
}

bool IsRegistered9x(const std::string& systemFolder, const std::string& windowsFolder)
{
    const CIniFile ini(SystemIniPath(windowsFolder));
    return NamesSaver(ini.ReadString(kBootSection, kSaverValue, ""), systemFolder);
}

void WriteActive(bool on)
{
    const char* flag = on ? "1" : "0";
    registry_text::WriteBare(platform::HKEY_CURRENT_USER, kCurrentUserDesktop, kActiveValue, flag);
    registry_text::WriteBare(platform::HKEY_USERS, kDefaultUserDesktop, kActiveValue, flag);
}

void SetRegisteredNt(bool on, const std::string& systemFolder)
{
    WriteActive(on);
    if (on) {
        registry_text::WriteBare(
            platform::HKEY_CURRENT_USER, kCurrentUserDesktop, kSaverValue, SaverPath(systemFolder));
        registry_text::WriteBare(platform::HKEY_USERS, kDefaultUserDesktop, kSaverValue, SaverPath(systemFolder));
        return;
    }
    registry_text::Delete(platform::HKEY_CURRENT_USER, kCurrentUserDesktop, kSaverValue);
    registry_text::Delete(platform::HKEY_USERS, kDefaultUserDesktop, kSaverValue);
}

void SetRegistered9x(bool on, const std::string& systemFolder, const std::string& windowsFolder)
{
    CIniFile ini(SystemIniPath(windowsFolder));
    ini.WriteString(kBootSection, kSaverValue, on ? platform::UpperAscii(SaverPath(systemFolder)) : std::string());
    WriteActive(on);
}

} // namespace

std::string SaverPath(const std::string& systemFolder)
{
    return systemFolder + "/" + kSaverFile;
}

bool CheckRegistered(
    bool ntFamily, const std::string& systemFolder, const std::string& windowsFolder, CSetupFile& setup)
{
    const bool registered = ntFamily ? IsRegisteredNt(systemFolder) : IsRegistered9x(systemFolder, windowsFolder);
    setup.SetScrAuto(registered ? 1 : 0);
    return registered;
}

void SetRegistered(
    bool on, bool ntFamily, const std::string& systemFolder, const std::string& windowsFolder, CSetupFile& setup)
{
    if (ntFamily)
        SetRegisteredNt(on, systemFolder);
    else
        SetRegistered9x(on, systemFolder, windowsFolder);
    setup.SetScrAuto(on ? 1 : 0);
}

} // namespace deskwarden::settings::screen_saver
