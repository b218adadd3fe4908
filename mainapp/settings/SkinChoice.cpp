#include "settings/SkinChoice.h"

#include "IniFile.h"
#include "Setup/SetupFile.h"

#include <algorithm>

namespace deskwarden::settings::skin_choice {

SkinList ListSkins(const CSetupFile& setup)
{
    SkinList list;
    setup.GetSkinList(list.names);
    const auto current = std::find(list.names.begin(), list.names.end(), setup.GetSkinCurrent());
    if (current != list.names.end())
        list.current = static_cast<int>(current - list.names.begin());
    return list;
}

bool IsNarrationOn(const CSetupFile& setup)
{
    const CIniFile settings(setup.GetSetupFilePath());
    return settings.ReadString(CSetupFile::kSectionVoiceRecog, CSetupFile::kKeyNarration, "1") != "0";
}

bool SetNarration(CSetupFile& setup, bool on)
{
    CIniFile settings(setup.GetSetupFilePath());
    return settings.WriteString(CSetupFile::kSectionVoiceRecog, CSetupFile::kKeyNarration, on ? "1" : "0") == 1;
}

std::string PreviewPath(const std::string& appPath, const std::string& name)
{
    return appPath + "/skin/" + name + "/normal.jpg";
}

Placement PlacePreview(int width, int height, int frameWidth, int frameHeight)
{
    if (width > frameWidth || height > frameHeight)
        return {0, 0, frameWidth, frameHeight};
    return {(frameWidth - width) / 2, (frameHeight - height) / 2, width, height};
}

} // namespace deskwarden::settings::skin_choice
