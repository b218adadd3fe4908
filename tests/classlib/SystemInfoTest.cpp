#include "SystemTestRoot.h"

#include "SystemInfo.h"

#include <fstream>
#include <iterator>

namespace {

class SystemInfoVersionTest : public ::testing::TestWithParam<int>
{
protected:
    void TearDown() override { ::unsetenv("WARDEN_OS_VERSION"); }
};

TEST_P(SystemInfoVersionTest, OnlyWindows2000CountsAsNt)
{
    ::setenv("WARDEN_OS_VERSION", std::to_string(GetParam()).c_str(), 1);
    CSystemInfo info;
    EXPECT_EQ(info.GetOSVersion(), GetParam());
    EXPECT_EQ(info.IsOSNT(), GetParam() == 5 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Codes, SystemInfoVersionTest, ::testing::Range(0, 8));

TEST(SystemInfoTest, WithoutAChoiceTheSystemIsWindows2000)
{
    ::unsetenv("WARDEN_OS_VERSION");
    CSystemInfo info;
    EXPECT_EQ(info.GetOSVersion(), 5);
    EXPECT_EQ(info.IsOSNT(), 1);
}

TEST(SystemInfoTest, UnknownReleasesAreAnythingElse)
{
    using platform::OSVERSIONINFO;
    EXPECT_EQ(CSystemInfo::VersionCodeOf(OSVERSIONINFO {6, 0, 6000, platform::VER_PLATFORM_WIN32_NT}), 7);
    EXPECT_EQ(CSystemInfo::VersionCodeOf(OSVERSIONINFO {3, 51, 1057, platform::VER_PLATFORM_WIN32_NT}), 4);
    EXPECT_EQ(CSystemInfo::VersionCodeOf(OSVERSIONINFO {4, 3, 0, platform::VER_PLATFORM_WIN32_WINDOWS}), 7);
    EXPECT_EQ(CSystemInfo::VersionCodeOf(OSVERSIONINFO {5, 0, 0, 9}), 7);
}

class SystemRebootTest : public system_test::FreshSystemTest
{
protected:
    void TearDown() override
    {
        ::unsetenv("WARDEN_REBOOT_COMMAND");
        FreshSystemTest::TearDown();
    }
};

TEST_F(SystemRebootTest, RunsTheRecordingCommandAndIgnoresItsRefusal)
{
    const std::filesystem::path log = Root() / "reboots";
    ::setenv("WARDEN_REBOOT_COMMAND", ("echo reboot >> '" + log.string() + "'; exit 1").c_str(), 1);
    CSystemInfo info;
    info.SystemReboot();
    std::ifstream in(log);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "reboot\n");
}

} // namespace
