#include "SkinPaths.h"

#include <platform/AsciiCase.h>

#include <filesystem>

namespace {

std::string FindSkinFolder(const std::string& skinRoot, const std::string& skin, const std::string& upper)
{
    std::error_code ec;
    for (const std::string& candidate : {skin, upper}) {
        if (!candidate.empty() && std::filesystem::is_directory(skinRoot + candidate, ec))
            return candidate;
    }
    for (const auto& entry : std::filesystem::directory_iterator(skinRoot, ec)) {
        std::string name = entry.path().filename().string();
        if (entry.is_directory(ec) && platform::UpperAscii(name) == upper)
            return name;
    }
    return upper;
}

} // namespace

SkinPaths SkinPaths::Make(const std::string& skin, const std::string& appPath)
{
    SkinPaths paths;
    paths.skinName = platform::UpperAscii(skin);
    std::string skinRoot = appPath + "/skin/";
    std::string folderName = FindSkinFolder(skinRoot, skin, paths.skinName);
    paths.folder = skinRoot + folderName + "/";
    paths.iniPath = paths.folder + "skin.ini";
    paths.waveFolder = appPath + "/wave";
    return paths;
}
