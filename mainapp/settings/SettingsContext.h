#pragma once

#include "settings/ProgramSettings.h"

#include <string>

class CSetupFile;

namespace deskwarden::users {
struct UserStores;
} // namespace deskwarden::users

namespace deskwarden::settings {

/** What the settings windows work on: the process's stores and where this machine keeps its system files. */
struct SettingsContext
{
    CSetupFile& setup;
    users::UserStores& stores;
    LogonPlace place;
    std::string windowsFolder;
};

/** The place of this machine: its family, the system root's system and Windows folders, this program's folder. */
LogonPlace CurrentLogonPlace();
std::string CurrentWindowsFolder();

} // namespace deskwarden::settings
