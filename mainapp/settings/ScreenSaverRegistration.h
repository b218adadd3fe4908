#pragma once

#include <string>

class CSetupFile;

// The lock screen as the system's screen saver. NT family: the desktop values under the current user and
// the default profile in the registry stand-in; 9x family: the boot section of the Windows folder's
// system.ini. Failures to write are silent: the menu's check mark shows what the next check finds.
namespace deskwarden::settings::screen_saver {

inline constexpr const char* kCurrentUserDesktop = "Control Panel\\Desktop";
inline constexpr const char* kDefaultUserDesktop = ".DEFAULT\\Control Panel\\desktop";
inline constexpr const char* kActiveValue = "ScreenSaveActive";
inline constexpr const char* kSaverValue = "SCRNSAVE.EXE";
inline constexpr const char* kSaverFile = "ScreenVeil.scr";
inline constexpr const char* kBootSection = "boot";
inline constexpr const char* kSystemIni = "system.ini";

/** The lock screen's saver file in `systemFolder`, as the installation places it. */
std::string SaverPath(const std::string& systemFolder);

/** Whether the lock screen is the active system screen saver now; the answer is also stored (SetScrAuto). */
bool CheckRegistered(
    bool ntFamily, const std::string& systemFolder, const std::string& windowsFolder, CSetupFile& setup);

/** Turns the registration to `on` and stores the new state (SetScrAuto). */
void SetRegistered(
    bool on, bool ntFamily, const std::string& systemFolder, const std::string& windowsFolder, CSetupFile& setup);

} // namespace deskwarden::settings::screen_saver
