#include "Setup/SetupFile.h"

#include "../StoreTestSupport.h"

namespace {

using store_test::WriteBytes;

class SetupFileTest : public store_test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        m_program = Path("program");
        std::filesystem::create_directories(m_program);
        ASSERT_EQ(m_setup.SetAppPath(m_program + "/"), 1);
        ASSERT_EQ(m_setup.Initialize(), 1);
    }

    std::string IniPath() const { return m_program + "/halvox.ini"; }

    std::string m_program;
    CSetupFile m_setup;
};

TEST(SetupFileRegistryTest, WithoutARegisteredFolderNothingIsInitialised)
{
    char pattern[] = "/tmp/warden-setup-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    ::setenv("WARDEN_ROOT", pattern, 1);
    CSetupFile setup;
    EXPECT_EQ(setup.GetAppPath(), "");
    EXPECT_EQ(setup.Initialize(), 0);
    EXPECT_EQ(setup.SetLastUserProgram("alice"), 0);
    EXPECT_EQ(setup.GetScrComment(), "");
    EXPECT_EQ(setup.SetAppPath(""), 0);
    EXPECT_EQ(setup.SetAppPath("/" + std::string(199, 'p')), 0);
    EXPECT_EQ(setup.GetAppPath(), "");
    ::unsetenv("WARDEN_ROOT");
    std::filesystem::remove_all(pattern);
}

TEST_F(SetupFileTest, InitializeUsesTheRegisteredFolderAndMakesTheSecureFile)
{
    EXPECT_EQ(m_setup.GetAppPath(), m_program);
    EXPECT_EQ(m_setup.GetSetupFilePath(), IniPath());
    EXPECT_TRUE(std::filesystem::exists(m_program + "/halvox.dat"));
    const CSetupSecure::tagSecureSettings settings = m_setup.GetSecureAppSettings();
    EXPECT_EQ(settings.firstRun, 1);
    EXPECT_EQ(settings.logonAuthMode, 1);
}

TEST_F(SetupFileTest, ValuesWrittenByOneObjectAreSeenByAnother)
{
    ASSERT_EQ(m_setup.SetLastUserProgram("alice"), 1);
    ASSERT_EQ(m_setup.SetSkinChange("Blue"), 1);
    ASSERT_EQ(m_setup.SetAppSecureFolder("/secure"), 1);
    ASSERT_EQ(m_setup.SetAppSecureMakeType(1), 1);
    ASSERT_EQ(m_setup.SetScrAuto(1), 1);
    ASSERT_EQ(m_setup.SetScrWaitTime(12), 1);
    ASSERT_EQ(m_setup.SetScrComment("留守です"), 1);
    CSetupFile other;
    ASSERT_EQ(other.Initialize(), 1);
    EXPECT_EQ(other.GetLastUserProgram(), "alice");
    EXPECT_EQ(other.GetSkinCurrent(), "Blue");
    EXPECT_EQ(other.GetAppSecureFolder(), "/secure");
    EXPECT_EQ(other.GetAppSecureMakeType(), 1u);
    EXPECT_EQ(other.GetScrAuto(), 1);
    EXPECT_EQ(other.GetScrWaitTime(), 12u);
    EXPECT_EQ(other.GetScrComment(), "留守です");
}

TEST_F(SetupFileTest, RefusedSettersLeaveTheOldValue)
{
    ASSERT_EQ(m_setup.SetScrWaitTime(10), 1);
    EXPECT_EQ(m_setup.SetScrWaitTime(0), 0);
    EXPECT_EQ(m_setup.SetScrWaitTime(-5), 0);
    EXPECT_EQ(m_setup.GetScrWaitTime(), 10u);
    ASSERT_EQ(m_setup.SetSkinChange("Blue"), 1);
    EXPECT_EQ(m_setup.SetSkinChange(""), 0);
    EXPECT_EQ(m_setup.GetSkinCurrent(), "Blue");
    EXPECT_EQ(m_setup.SetAppSecureFolder(""), 0);
    EXPECT_EQ(m_setup.SetScrComment(std::string(200, 'c')), 0);
}

TEST_F(SetupFileTest, WindowPositionReadsMissingNumbersAsZero)
{
    ASSERT_EQ(m_setup.SetAppLastPos(-10, 20, 300, 400), 1);
    EXPECT_EQ(m_setup.GetAppLastPos(), (platform::RECT {-10, 20, 300, 400}));
    WriteBytes(IniPath(), "[DESK_WARDEN]\nLastExecutePos=5,x6\n");
    EXPECT_EQ(m_setup.GetAppLastPos(), (platform::RECT {5, 0, 0, 0}));
}

TEST_F(SetupFileTest, WordListLookupsFollowFileOrderAndIgnoreCaseOfTheWord)
{
    WriteBytes(
        IniPath(), "[WORD_LIST]\nAbj=ひらけ\naaj=Sesame\nacj=sesame\n[VOICE_RECOG_DLL]\nSkinList= Blue , Red,\n");
    std::vector<std::string> words {"kept"};
    ASSERT_EQ(m_setup.GetAuthWordList(words), 1);
    EXPECT_EQ(words, (std::vector<std::string> {"kept", "ひらけ", "Sesame", "sesame"}));
    EXPECT_EQ(m_setup.GetAuthNick("SESAME"), "aaj");
    EXPECT_EQ(m_setup.GetAuthNick("ひらけ"), "Abj");
    EXPECT_EQ(m_setup.GetAuthNick("none"), "");
    EXPECT_EQ(m_setup.GetAuthWord("ABJ"), "ひらけ");
    std::vector<std::string> skins;
    ASSERT_EQ(m_setup.GetSkinList(skins), 1);
    EXPECT_EQ(skins, (std::vector<std::string> {"Blue", "Red", ""}));
}

TEST_F(SetupFileTest, ImageListIsRenumberedAndSkipsVanishedFiles)
{
    const std::string a = Path("a.jpg"), b = Path("b.jpg"), c = Path("c.jpg");
    for (const std::string& p : {a, b, c}) {
        WriteBytes(p, "jpeg");
    }
    ASSERT_EQ(m_setup.SetScrImageFile({a, b, c}), 1);
    EXPECT_EQ(m_setup.GetScrImageFile(2), b);
    std::filesystem::remove(b);
    std::vector<std::string> files;
    ASSERT_EQ(m_setup.GetScrImageFileList(files), 1);
    EXPECT_EQ(files, (std::vector<std::string> {a, c}));
    ASSERT_EQ(m_setup.SetScrImageFile(files), 1);
    EXPECT_EQ(m_setup.GetScrImageFile(2), c);
    EXPECT_EQ(m_setup.GetScrImageFile(3), "");
    ASSERT_EQ(m_setup.SetScrImageFile({}), 1);
    std::vector<std::string> sections;
    CIniFile(IniPath()).ReadSections(sections);
    EXPECT_EQ(std::count(sections.begin(), sections.end(), "IMAGE_FILES"), 0);
}

TEST_F(SetupFileTest, IsFileExistTellsFoldersFromFiles)
{
    WriteBytes(Path("file"), "x");
    EXPECT_EQ(CSetupFile::IsFileExist(Path("file"), 0), 1);
    EXPECT_EQ(CSetupFile::IsFileExist(Path("file"), 1), 0);
    EXPECT_EQ(CSetupFile::IsFileExist(m_program, 0), 0);
    EXPECT_EQ(CSetupFile::IsFileExist(m_program, 1), 1);
    EXPECT_EQ(CSetupFile::IsFileExist(Path("missing"), 1), 0);
}

TEST_F(SetupFileTest, ExecutePathIsTheFolderOfThisProgram)
{
    const std::string folder = m_setup.GetAppExecutePath();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(SetupFileTest, SecureSettingsAreForwarded)
{
    CSetupSecure::tagSecureSettings settings;
    settings.firstRun = 0;
    ASSERT_EQ(m_setup.SetSecureAppSettings(settings), 1);
    CSetupFile other;
    ASSERT_EQ(other.Initialize(), 1);
    EXPECT_EQ(other.GetSecureAppSettings().firstRun, 0);
}

} // namespace
