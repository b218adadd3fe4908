#include "skin/SkinPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TEST(SkinPathsTest, SkinFolderIsFoundWhateverTheCaseOfItsName)
{
    fs::path root = fs::temp_directory_path() / ("skin-paths-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "skin" / "default");
    SkinPaths paths = SkinPaths::Make("Default", root.string());
    EXPECT_EQ(paths.skinName, "DEFAULT");
    EXPECT_EQ(paths.iniPath, root.string() + "/skin/default/skin.ini");
    EXPECT_EQ(paths.folder, root.string() + "/skin/default/");
    EXPECT_EQ(paths.waveFolder, root.string() + "/wave");
    // A folder that does not exist keeps the upper-cased name, so the failure message names it.
    EXPECT_EQ(SkinPaths::Make("blue", root.string()).iniPath, root.string() + "/skin/BLUE/skin.ini");
    fs::remove_all(root);
}

} // namespace
