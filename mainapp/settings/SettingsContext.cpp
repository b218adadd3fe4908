#include "settings/SettingsContext.h"

#include "SystemInfo.h"

#include <platform/SystemRoot.h>

#include <QCoreApplication>

namespace deskwarden::settings {

LogonPlace CurrentLogonPlace()
{
    CSystemInfo system;
    return {
        system.IsOSNT() == 1, platform::SystemFolder().string(), QCoreApplication::applicationDirPath().toStdString()};
}

std::string CurrentWindowsFolder()
{
    return platform::WindowsFolder().string();
}

} // namespace deskwarden::settings
