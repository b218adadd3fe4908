#include "lock/LockSettings.h"
#include "lock/LogonRight.h"

#include "AppUserDic.h"
#include "IniFile.h"
#include "Setup/SetupFile.h"

#include "FreshRootTest.h"

#include <filesystem>
#include <fstream>

namespace screenveil {
namespace {

class LockStoresTest : public warden::test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        m_app = Path("program");
        std::filesystem::create_directories(m_app);
        ASSERT_EQ(m_setup.SetAppPath(m_app), 1);
        ASSERT_EQ(m_setup.Initialize(), 1);
    }

    std::string m_app;
    CSetupFile m_setup;
};

TEST_F(LockStoresTest, OnlyAUserWithTheLogonPermissionMayUnlock)
{
    CAppUserDic users;
    ASSERT_EQ(users.SetUserDicFilePath(m_app + "/halvoxuid.dat"), 1);
    ASSERT_EQ(users.CreateUser("Tanaka", "tanaka", "", "pw", 0, 1, 1, 1, ""), 1);
    ASSERT_EQ(users.CreateUser("Sato", "sato", "", "pw", 1, 0, 1, 1, ""), 1);
    EXPECT_TRUE(HasLogonRight(m_app, "tanaka"));
    EXPECT_FALSE(HasLogonRight(m_app, "sato"));
    EXPECT_FALSE(HasLogonRight(m_app, "nobody"));
    EXPECT_FALSE(HasLogonRight(m_app, ""));
    EXPECT_FALSE(HasLogonRight("", "tanaka"));
}

TEST_F(LockStoresTest, AnUnreadableUserDictionaryLetsNobodyIn)
{
    std::ofstream(m_app + "/halvoxuid.dat", std::ios::binary | std::ios::trunc) << "garbage;garbage\n";
    EXPECT_FALSE(HasLogonRight(m_app, "tanaka"));
}

TEST_F(LockStoresTest, MissingDisplaySettingsTakeTheirDefaults)
{
    const DisplaySettings display = ReadDisplaySettings(m_setup);
    EXPECT_FALSE(display.fullSize);
    EXPECT_EQ(display.background, (Rgb {128, 128, 192}));
    EXPECT_EQ(display.comment, (Rgb {202, 188, 21}));
    EXPECT_EQ(display.memo, (Rgb {206, 187, 49}));
    EXPECT_EQ(display.name, (Rgb {218, 137, 37}));
    EXPECT_EQ(display.shadow, (Rgb {0, 0, 0}));
    EXPECT_EQ(display.waitSeconds, 0);
}

TEST_F(LockStoresTest, DisplaySettingsWrittenAreReadBackAsText)
{
    DisplaySettings display;
    display.fullSize = true;
    display.background = Rgb {1, 2, 3};
    display.shadow = Rgb {250, 251, 252};
    display.waitSeconds = 12;
    ASSERT_TRUE(WriteDisplaySettings(m_setup, display));
    const CIniFile ini(m_setup.GetSetupFilePath());
    EXPECT_EQ(ini.ReadString("SCREEN_SAVER", "BGColor", ""), "1,2,3");
    EXPECT_EQ(ini.ReadString("SCREEN_SAVER", "FullSize", ""), "1");
    EXPECT_EQ(ini.ReadString("SCREEN_SAVER", "WaitTime", ""), "12");
    const DisplaySettings back = ReadDisplaySettings(m_setup);
    EXPECT_TRUE(back.fullSize);
    EXPECT_EQ(back.shadow, (Rgb {250, 251, 252}));
    EXPECT_EQ(back.waitSeconds, 12);
}

TEST_F(LockStoresTest, TheLockShowsOnlyPicturesThatStillExist)
{
    const std::string kept = m_app + "/kept.bmp";
    std::ofstream(kept) << "x";
    ASSERT_EQ(m_setup.SetScrImageFile({m_app + "/gone.jpg", kept}), 1);
    ASSERT_EQ(m_setup.SetScrComment("Away\r\nBack at three"), 1);
    const LockContent content = ReadLockContent(m_setup);
    EXPECT_EQ(content.pictures, std::vector<std::string> {kept});
    EXPECT_EQ(content.comment, "Away\r\nBack at three");
}

} // namespace
} // namespace screenveil
