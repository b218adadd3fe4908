#include "lock/LockSettings.h"

#include "IniFile.h"
#include "Setup/SetupFile.h"

#include <cstdlib>

namespace screenveil {

namespace {

constexpr const char* kSection = CSetupFile::kSectionScreenSaver;

Rgb ReadColour(const CIniFile& ini, const char* key, const Rgb& fallback)
{
    const std::string text = ini.ReadString(kSection, key, "");
    return text.empty() ? fallback : ParseColourText(text);
}

} // namespace

DisplaySettings ReadDisplaySettings(const CSetupFile& setup)
{
    const CIniFile ini(setup.GetSetupFilePath());
    const DisplaySettings defaults;
    DisplaySettings display;
    display.fullSize = ini.ReadString(kSection, kKeyFullSize, "0") == "1";
    display.background = ReadColour(ini, kKeyBackground, defaults.background);
    display.comment = ReadColour(ini, kKeyComment, defaults.comment);
    display.memo = ReadColour(ini, kKeyMemo, defaults.memo);
    display.name = ReadColour(ini, kKeyName, defaults.name);
    display.shadow = ReadColour(ini, kKeyShadow, defaults.shadow);
    display.waitSeconds = static_cast<int>(setup.GetScrWaitTime());
    return display;
}

bool WriteDisplaySettings(CSetupFile& setup, const DisplaySettings& display)
{
    CIniFile ini(setup.GetSetupFilePath());
    bool written = ini.WriteString(kSection, kKeyFullSize, display.fullSize ? "1" : "0") != 0;
    written = ini.WriteString(kSection, kKeyBackground, ColourText(display.background)) != 0 && written;
    written = ini.WriteString(kSection, kKeyComment, ColourText(display.comment)) != 0 && written;
    written = ini.WriteString(kSection, kKeyMemo, ColourText(display.memo)) != 0 && written;
    written = ini.WriteString(kSection, kKeyName, ColourText(display.name)) != 0 && written;
    written = ini.WriteString(kSection, kKeyShadow, ColourText(display.shadow)) != 0 && written;
    return setup.SetScrWaitTime(display.waitSeconds) != 0 && written;
}

LockContent ReadLockContent(const CSetupFile& setup)
{
    LockContent content;
    content.display = ReadDisplaySettings(setup);
    content.comment = setup.GetScrComment();
    setup.GetScrImageFileList(content.pictures);
    if (content.pictures.size() > kMostSlides)
        content.pictures.resize(kMostSlides);
    return content;
}

} // namespace screenveil
