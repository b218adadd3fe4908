#include "settings/MenuLook.h"

#include "settings/RegistryText.h"

#include "SystemInfo.h"

#include <platform/AsciiCase.h>

namespace deskwarden::settings::menu_look {

bool IsFlat(int versionCode, const std::string& currentTheme)
{
    const std::string classic = platform::FoldAscii(kClassicThemeEnd);
    const std::string theme = platform::FoldAscii(currentTheme);
    const bool isClassic = theme.size() >= classic.size() && theme.ends_with(classic);
    return versionCode >= kFirstFlatVersion && !isClassic;
}

bool UsesFlatMenus()
{
    static const bool flat = [] {
        CSystemInfo system;
        const auto theme = registry_text::Read(platform::HKEY_CURRENT_USER, kThemeKey, "");
        return IsFlat(system.GetOSVersion(), theme.value_or(""));
    }();
    return flat;
}

} // namespace deskwarden::settings::menu_look
