#include "TestRoot.h"

#include <platform/SystemInformation.h>

#include <string>

using namespace platform;

namespace {

struct VersionCase
{
    int code;
    DWORD platformId;
};

class VersionRecordTest : public ::testing::TestWithParam<VersionCase>
{
protected:
    void TearDown() override { ::unsetenv("WARDEN_OS_VERSION"); }
};

TEST_P(VersionRecordTest, TheEnvironmentChoosesTheRecord)
{
    ::setenv("WARDEN_OS_VERSION", std::to_string(GetParam().code).c_str(), 1);
    OSVERSIONINFO info;
    GetVersionEx(info);
    EXPECT_EQ(info.dwPlatformId, GetParam().platformId);
    const OSVERSIONINFO expected = VersionRecordForCode(GetParam().code);
    EXPECT_EQ(info.dwMajorVersion, expected.dwMajorVersion);
    EXPECT_EQ(info.dwMinorVersion, expected.dwMinorVersion);
}

INSTANTIATE_TEST_SUITE_P(Codes, VersionRecordTest,
    ::testing::Values(VersionCase {0, VER_PLATFORM_WIN32s}, VersionCase {1, VER_PLATFORM_WIN32_WINDOWS},
        VersionCase {2, VER_PLATFORM_WIN32_WINDOWS}, VersionCase {3, VER_PLATFORM_WIN32_WINDOWS},
        VersionCase {4, VER_PLATFORM_WIN32_NT}, VersionCase {5, VER_PLATFORM_WIN32_NT},
        VersionCase {6, VER_PLATFORM_WIN32_NT}, VersionCase {7, VER_PLATFORM_WIN32_NT}));

TEST(OsVersionCodeTest, OnlyASingleDigitFromZeroToSevenIsACode)
{
    EXPECT_EQ(ParseOsVersionCode("0"), 0);
    EXPECT_EQ(ParseOsVersionCode("7"), 7);
    for (const char* text : {"", "8", "-1", " 5", "5 ", "05", "x", "+5"}) {
        EXPECT_FALSE(ParseOsVersionCode(text).has_value()) << '"' << text << '"';
    }
}

TEST(OsVersionCodeTest, AnInvalidCodeFallsBackToWindows2000)
{
    ::setenv("WARDEN_OS_VERSION", "nine", 1);
    OSVERSIONINFO info;
    GetVersionEx(info);
    ::unsetenv("WARDEN_OS_VERSION");
    EXPECT_EQ(info.dwMajorVersion, 5u);
    EXPECT_EQ(info.dwMinorVersion, 0u);
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
}

TEST(ComputerNameTest, IsTheFirstLabelInUpperCaseAndAtMostFifteenBytes)
{
    EXPECT_EQ(ComputerNameFromHostName("desk-01.example.org"), "DESK-01");
    EXPECT_EQ(ComputerNameFromHostName("averyveryverylonghostname"), "AVERYVERYVERYLO");
    EXPECT_EQ(ComputerNameFromHostName(""), "");
    std::string name;
    if (GetComputerName(name)) {
        EXPECT_LE(name.size(), 15u);
        EXPECT_EQ(name, ComputerNameFromHostName(HostName()));
    }
}

TEST(AdapterAddressTest, TheFirstRealInterfaceInNameOrderWins)
{
    const std::vector<std::uint8_t> zero(6, 0);
    const std::vector<std::uint8_t> a {0x02, 0x00, 0x00, 0x00, 0x00, 0x0A};
    const std::vector<std::uint8_t> b {0x02, 0x00, 0x00, 0x00, 0x00, 0x0B};
    const std::vector<std::uint8_t> shortAddress {0x01, 0x02, 0x03, 0x04};
    std::vector<NetworkInterface> interfaces {{"wlan0", b, false}, {"lo", zero, true}, {"eth1", a, false},
        {"dummy", zero, false}, {"eth0", shortAddress, false}};
    const auto chosen = ChooseAdapterAddress(interfaces);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ((*chosen)[5], 0x0A);
    interfaces.push_back({"a-loop", b, true});
    EXPECT_EQ((*ChooseAdapterAddress(interfaces))[5], 0x0A);
    EXPECT_FALSE(ChooseAdapterAddress({{"lo", b, true}, {"dummy", zero, false}}).has_value());

    const std::string text = AdapterAddressText();
    EXPECT_TRUE(text.empty() || (text.size() == 12 && text.find_first_not_of("0123456789ABCDEF") == std::string::npos))
        << text;
}

TEST(MachineIdTest, OnlyAWellFormedIdIsTaken)
{
    const std::string id = "0123456789abcdef0123456789abcdef";
    EXPECT_EQ(ParseMachineId(id + "\n"), id);
    EXPECT_EQ(ParseMachineId(id), id);
    EXPECT_EQ(ParseMachineId("0123456789ABCDEF0123456789ABCDEF"), "");
    EXPECT_EQ(ParseMachineId(id.substr(1)), "");
    EXPECT_EQ(ParseMachineId(id + "0"), "");
    EXPECT_EQ(ParseMachineId(""), "");
    EXPECT_EQ(ParseMachineId(std::string("0123456789abcdef\0"
                                         "123456789abcdef",
                  32)),
        "");
}

TEST(BootModeTest, RescueAndSingleUserBootsAreFailSafe)
{
    EXPECT_EQ(BootModeFromKernelCommandLine("BOOT_IMAGE=/vmlinuz root=/dev/sda1 ro quiet"), kBootNormal);
    EXPECT_EQ(BootModeFromKernelCommandLine("root=/dev/sda1 ro single"), kBootFailSafe);
    EXPECT_EQ(BootModeFromKernelCommandLine("root=/dev/sda1 systemd.unit=rescue.target\n"), kBootFailSafe);
    EXPECT_EQ(BootModeFromKernelCommandLine("root=/dev/sda1 emergency"), kBootFailSafe);
    // A word that merely contains one of the markers is not one.
    EXPECT_EQ(BootModeFromKernelCommandLine("singleton=1 rescuer"), kBootNormal);
    EXPECT_EQ(BootModeFromKernelCommandLine(""), kBootNormal);
}

class RebootTest : public platform_test::FreshRoot
{
protected:
    void TearDown() override
    {
        ::unsetenv("WARDEN_REBOOT_COMMAND");
        platform_test::FreshRoot::TearDown();
    }
    std::filesystem::path Log() const { return Root() / "reboot.log"; }
};

TEST_F(RebootTest, RunsTheConfiguredCommandAndReportsItsStatus)
{
    const std::string command = "echo restart >> '" + Log().string() + "'";
    ::setenv("WARDEN_REBOOT_COMMAND", command.c_str(), 1);
    EXPECT_EQ(SystemReboot(), 0);
    EXPECT_EQ(SystemReboot(), 0);
    EXPECT_EQ(platform_test::ReadFile(Log()), "restart\nrestart\n");
    ::setenv("WARDEN_REBOOT_COMMAND", "exit 3", 1);
    EXPECT_EQ(SystemReboot(), 3);
}

TEST_F(RebootTest, AnEmptyOrOverlongCommandRunsNothing)
{
    ::setenv("WARDEN_REBOOT_COMMAND", "", 1);
    EXPECT_EQ(SystemReboot(), -1);
    const std::string overlong = "echo x >> '" + Log().string() + "' #" + std::string(5000, 'x');
    ::setenv("WARDEN_REBOOT_COMMAND", overlong.c_str(), 1);
    EXPECT_EQ(SystemReboot(), -1);
    EXPECT_FALSE(std::filesystem::exists(Log()));
}

} // namespace
