#include "app/FirstRunSetup.h"
#include "app/RunValue.h"

#include "Setup/RegistryEx.h"
#include "Setup/SetupFile.h"
#include "Setup/SetupSecure.h"

#include "../../support/FreshRootTest.h"

#include <platform/Registry.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace deskwarden::test {
namespace {

using namespace deskwarden::app;

class FirstRun : public warden::test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        m_folder = Path("program");
        std::filesystem::create_directories(m_folder);
        ASSERT_EQ(m_setup.SetAppPath(m_folder), 1);
        ASSERT_EQ(m_setup.Initialize(), 1);
    }

    CSetupSecure::tagSecureSettings Secure()
    {
        CSetupSecure::tagSecureSettings settings;
        EXPECT_EQ(m_setup.GetSetupSecure().GetAppSettings(settings), 1);
        return settings;
    }

    std::string m_folder;
    CSetupFile m_setup;
};

TEST_F(FirstRun, CompletingItSetsSlidesFolderNoteAndClearsOnlyTheFlag)
{
    CSetupSecure::tagSecureSettings before = Secure();
    ASSERT_EQ(before.firstRun, 1);
    before.deleteBundleAfterDecrypt = 1;
    ASSERT_EQ(m_setup.GetSetupSecure().SetAppSettings(before), 1);

    std::string error;
    ASSERT_TRUE(CompleteFirstRun(m_setup, error)) << error;

    const CSetupSecure::tagSecureSettings after = Secure();
    EXPECT_EQ(after.firstRun, 0);
    EXPECT_EQ(after.deleteBundleAfterDecrypt, 1) << "the other settings are kept";
    EXPECT_EQ(after.logonAuthMode, before.logonAuthMode);
    EXPECT_EQ(m_setup.GetScrImageFile(1), m_folder + "/images/screen01.bmp");
    EXPECT_EQ(m_setup.GetScrImageFile(5), m_folder + "/images/screen05.bmp");
    EXPECT_EQ(m_setup.GetScrImageFile(6), "");
    EXPECT_EQ(m_setup.GetScrComment(), "今は留守ですのでF3キーを押してメモを残してください。");
    EXPECT_FALSE(m_setup.GetAppSecureFolder().empty());
    EXPECT_EQ(std::filesystem::path(m_setup.GetAppSecureFolder()).filename(), "WdvDocs");
}

TEST(SecureFolder, IsOnTheDiskOfTheImagesWhenWritableElseInTheHomeFolder)
{
    EXPECT_EQ(ChooseSecureFolder("/media/data", true, "/home/u"), "/media/data/WdvDocs");
    EXPECT_EQ(ChooseSecureFolder("/", false, "/home/u"), "/home/u/WdvDocs");
}

TEST(SecureFolder, TheDiskRootIsTheTopFolderOnTheSameDevice)
{
    const std::string tmp = std::filesystem::temp_directory_path().string();
    const std::string root = MountRootOf(tmp + "/no/such/images");
    struct stat top
    {
    }, inside {}, above {};
    ASSERT_EQ(::stat(root.c_str(), &top), 0);
    ASSERT_EQ(::stat(tmp.c_str(), &inside), 0);
    EXPECT_EQ(top.st_dev, inside.st_dev) << root;
    EXPECT_EQ(tmp.rfind(root == "/" ? "/" : root + "/", 0), 0U) << root << " is not above " << tmp;
    const std::string parent = std::filesystem::path(root).parent_path().string();
    ASSERT_EQ(::stat(parent.c_str(), &above), 0);
    EXPECT_TRUE(root == "/" || above.st_dev != top.st_dev) << "the folder above " << root << " is on the same disk";
    EXPECT_EQ(MountRootOf("/"), "/");
}

class RunValue : public warden::test::FreshRootTest
{
};

TEST_F(RunValue, NamesTheProgramInTheInstallationWithoutATerminatingZero)
{
    ASSERT_TRUE(WriteRunValue("/opt/warden/old"));
    ASSERT_TRUE(WriteRunValue("/opt/warden/new")) << "every start writes it again";
    using namespace platform;
    HKEY key {};
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "software\\microsoft\\windows\\currentversion\\RUN", KEY_READ, &key),
        ERROR_SUCCESS);
    std::uint8_t data[256] {};
    DWORD size = sizeof data;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueEx(key, "MarlowSoft", &type, data, &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), "/opt/warden/new/DeskWarden");
}

} // namespace
} // namespace deskwarden::test
