#pragma once

#include <string>

// Whether the main window's menus are drawn flat: on systems from XP on, unless the classic theme is the
// current one. Decided once per run.
namespace deskwarden::settings::menu_look {

inline constexpr const char* kThemeKey = "Software\\Microsoft\\Plus!\\Themes\\Current";
inline constexpr const char* kClassicThemeEnd = "Windows Classic.theme";
inline constexpr int kFirstFlatVersion = 6;

/** The rule: a version code of kFirstFlatVersion or later and a current theme not ending in the classic name. */
bool IsFlat(int versionCode, const std::string& currentTheme);

/** The rule for this system and this user's theme value; asked once, the answer is kept for the run. */
bool UsesFlatMenus();

} // namespace deskwarden::settings::menu_look
