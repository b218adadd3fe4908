#include "settings/ScreenSaverRegistration.h"
#include "settings/RegistryText.h"

#include "IniFile.h"

#include <platform/AsciiCase.h>

#include "SettingsTestSupport.h"

namespace deskwarden::test {
namespace {

namespace saver = settings::screen_saver;
using platform::HKEY_CURRENT_USER;
using platform::HKEY_USERS;

class ScreenSaver : public InstallationTest
{
protected:
    std::string System() { return Path("system"); }
    std::string Windows() { return Path("windows"); }
    bool Check(bool nt) { return saver::CheckRegistered(nt, System(), Windows(), m_setup); }
    void Set(bool on, bool nt) { saver::SetRegistered(on, nt, System(), Windows(), m_setup); }
};

TEST_F(ScreenSaver, TurningOnOnTheNtFamilyWritesBothProfilesWithoutTerminators)
{
    Set(true, true);
    const std::string path = System() + "/ScreenVeil.scr";
    EXPECT_EQ(RawText(HKEY_CURRENT_USER, saver::kCurrentUserDesktop, "ScreenSaveActive"), "1");
    EXPECT_EQ(RawText(HKEY_USERS, saver::kDefaultUserDesktop, "ScreenSaveActive"), "1");
    EXPECT_EQ(RawText(HKEY_CURRENT_USER, saver::kCurrentUserDesktop, "SCRNSAVE.EXE"), path);
    EXPECT_EQ(RawText(HKEY_USERS, saver::kDefaultUserDesktop, "SCRNSAVE.EXE"), path);
    EXPECT_TRUE(Check(true));
    EXPECT_EQ(m_setup.GetScrAuto(), 1);
}

TEST_F(ScreenSaver, TheInstalledSaverIsOffWhileTheSaverIsNotActive)
{
    Set(true, true);
    ASSERT_TRUE(
        settings::registry_text::WriteBare(HKEY_CURRENT_USER, saver::kCurrentUserDesktop, "ScreenSaveActive", "0"));
    EXPECT_FALSE(Check(true));
    EXPECT_EQ(m_setup.GetScrAuto(), 0) << "the check stores what it found";
}

TEST_F(ScreenSaver, AnotherSaverIsOffAndTheCaseOfOursDoesNotMatter)
{
    Set(true, true);
    settings::registry_text::WriteBare(HKEY_CURRENT_USER, saver::kCurrentUserDesktop, "SCRNSAVE.EXE", "/x/other.scr");
    EXPECT_FALSE(Check(true));
    settings::registry_text::WriteBare(HKEY_CURRENT_USER, saver::kCurrentUserDesktop, "SCRNSAVE.EXE",
        platform::UpperAscii(System() + "/ScreenVeil.scr"));
    EXPECT_TRUE(Check(true));
}

TEST_F(ScreenSaver, TogglingTwiceOnTheNtFamilyLeavesTheSaverRemovedAndInactive)
{
    Set(!Check(true), true);
    Set(!Check(true), true);
    EXPECT_FALSE(RawText(HKEY_CURRENT_USER, saver::kCurrentUserDesktop, "SCRNSAVE.EXE"));
    EXPECT_FALSE(RawText(HKEY_USERS, saver::kDefaultUserDesktop, "SCRNSAVE.EXE"));
    EXPECT_EQ(RawText(HKEY_CURRENT_USER, saver::kCurrentUserDesktop, "ScreenSaveActive"), "0");
    EXPECT_EQ(RawText(HKEY_USERS, saver::kDefaultUserDesktop, "ScreenSaveActive"), "0");
    EXPECT_FALSE(Check(true));
}

TEST_F(ScreenSaver, TheNineXFamilyKeepsTheSaverInSystemIni)
{
    std::filesystem::create_directories(Windows());
    Set(true, false);
    const CIniFile ini(Windows() + "/system.ini");
    EXPECT_EQ(ini.ReadString("boot", "SCRNSAVE.EXE", "?"), platform::UpperAscii(System() + "/ScreenVeil.scr"));
    EXPECT_TRUE(Check(false));
    Set(false, false);
    EXPECT_EQ(ini.ReadString("boot", "SCRNSAVE.EXE", "?"), "");
    EXPECT_EQ(RawText(HKEY_USERS, saver::kDefaultUserDesktop, "ScreenSaveActive"), "0");
    EXPECT_FALSE(Check(false));
}

} // namespace
} // namespace deskwarden::test
