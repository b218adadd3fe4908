#include "settings/MenuLook.h"
#include "settings/PamUsage.h"
#include "settings/SkinChoice.h"

#include "IniFile.h"

#include "SettingsTestSupport.h"

#include <fstream>

namespace deskwarden::test {
namespace {

using namespace deskwarden::settings;

class SkinPage : public InstallationTest
{
};

TEST_F(SkinPage, NarrationIsOnUntilSwitchedOffAndIsWrittenAtOnce)
{
    EXPECT_TRUE(skin_choice::IsNarrationOn(m_setup));
    ASSERT_TRUE(skin_choice::SetNarration(m_setup, false));
    EXPECT_EQ(CIniFile(m_app + "/halvox.ini").ReadString("VOICE_RECOG_DLL", "Narration", "?"), "0");
    EXPECT_FALSE(skin_choice::IsNarrationOn(m_setup));
    ASSERT_TRUE(skin_choice::SetNarration(m_setup, true));
    EXPECT_TRUE(skin_choice::IsNarrationOn(m_setup));
}

TEST_F(SkinPage, TheCurrentSkinIsFoundInTheList)
{
    CIniFile ini(m_app + "/halvox.ini");
    ini.WriteString("VOICE_RECOG_DLL", "SkinList", "default, dark");
    ASSERT_EQ(m_setup.SetSkinChange("dark"), 1);
    const skin_choice::SkinList list = skin_choice::ListSkins(m_setup);
    EXPECT_EQ(list.names, (std::vector<std::string> {"default", "dark"}));
    EXPECT_EQ(list.current, 1);
    ASSERT_EQ(m_setup.SetSkinChange("gone"), 1);
    EXPECT_EQ(skin_choice::ListSkins(m_setup).current, -1);
}

TEST(SkinPreview, APictureIsCentredUnlessItIsLargerThanTheFrame)
{
    const auto centred = skin_choice::PlacePreview(100, 50, 200, 150);
    EXPECT_EQ((std::array {centred.x, centred.y, centred.width, centred.height}), (std::array {50, 50, 100, 50}));
    const auto tall = skin_choice::PlacePreview(100, 300, 200, 150);
    EXPECT_EQ((std::array {tall.x, tall.y, tall.width, tall.height}), (std::array {0, 0, 200, 150}));
}

TEST(MenuLook, FlatFromXpOnUnlessTheClassicThemeIsCurrent)
{
    EXPECT_FALSE(menu_look::IsFlat(5, ""));
    EXPECT_TRUE(menu_look::IsFlat(6, ""));
    EXPECT_TRUE(menu_look::IsFlat(7, "C:\\WINDOWS\\Resources\\Themes\\Luna.theme"));
    EXPECT_FALSE(menu_look::IsFlat(6, "c:\\windows\\resources\\themes\\WINDOWS CLASSIC.THEME"));
}

TEST(PamUsage, OnlyLinesThatCallTheModuleCount)
{
    EXPECT_TRUE(pam_usage::LineUsesModule("auth sufficient /usr/local/lib/security/pam_wardengate.so root=/x"));
    EXPECT_TRUE(pam_usage::LineUsesModule("  auth [success=done default=ignore] pam_wardengate.so"));
    EXPECT_FALSE(pam_usage::LineUsesModule("# auth sufficient pam_wardengate.so"));
    EXPECT_FALSE(pam_usage::LineUsesModule("   #auth sufficient pam_wardengate.so"));
    EXPECT_FALSE(pam_usage::LineUsesModule("@include common-auth"));
}

TEST(PamUsage, ServicesAreListedInNameOrderAndModulesFoundWhereInstalled)
{
    const auto folder = std::filesystem::temp_directory_path() / ("pam-usage-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "lib/security");
    std::ofstream(folder / "sudo") << "# pam_wardengate.so\nauth sufficient pam_wardengate.so\n";
    std::ofstream(folder / "login") << "auth sufficient /usr/local/lib/security/pam_wardengate.so\n";
    std::ofstream(folder / "other") << "#auth sufficient pam_wardengate.so\n@include common-auth\n";
    EXPECT_EQ(pam_usage::ServicesUsingModule(folder), (std::vector<std::string> {"login", "sudo"}));
    EXPECT_EQ(pam_usage::InstalledModule({folder / "lib/security/pam_wardengate.so"}), "");
    std::ofstream(folder / "lib/security/pam_wardengate.so") << "";
    EXPECT_EQ(pam_usage::InstalledModule({folder / "missing.so", folder / "lib/security/pam_wardengate.so"}),
        (folder / "lib/security/pam_wardengate.so").string());
    EXPECT_NE(pam_usage::Describe("", {}).find("インストールされていません"), std::string::npos);
    EXPECT_NE(pam_usage::Describe("/m.so", {"login", "sudo"}).find("login, sudo"), std::string::npos);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace deskwarden::test
