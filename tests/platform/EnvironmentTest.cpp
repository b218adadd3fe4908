#include "TestRoot.h"

#include <platform/Environment.h>
#include <platform/SystemInformation.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace platform;

namespace {

// WARDEN_AUDIO_OUTPUT stands for any variable here; the test restores whatever it was.
class EnvironmentReadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const char* value = std::getenv(kName)) {
            m_saved = value;
        }
    }

    void TearDown() override
    {
        if (m_saved) {
            ::setenv(kName, m_saved->c_str(), 1);
        } else {
            ::unsetenv(kName);
        }
    }

    static constexpr const char* kName = "WARDEN_AUDIO_OUTPUT";
    std::optional<std::string> m_saved;
};

TEST_F(EnvironmentReadTest, UnsetEmptyAndSetAreThreeDifferentAnswers)
{
    ::unsetenv(kName);
    EXPECT_EQ(EnvironmentSetting("WARDEN_AUDIO_OUTPUT"), std::nullopt);
    EXPECT_EQ(EnvironmentText("WARDEN_AUDIO_OUTPUT"), std::nullopt);

    ::setenv(kName, "", 1);
    EXPECT_EQ(EnvironmentSetting("WARDEN_AUDIO_OUTPUT"), std::optional<std::string>(""));
    EXPECT_EQ(EnvironmentText("WARDEN_AUDIO_OUTPUT"), std::nullopt);

    ::setenv(kName, "null", 1);
    EXPECT_EQ(EnvironmentSetting("WARDEN_AUDIO_OUTPUT"), std::optional<std::string>("null"));
    EXPECT_EQ(EnvironmentText("WARDEN_AUDIO_OUTPUT"), std::optional<std::string>("null"));
}

TEST_F(EnvironmentReadTest, AWordMatchesOnlyExactly)
{
    ::setenv(kName, "null", 1);
    EXPECT_TRUE(EnvironmentIs("WARDEN_AUDIO_OUTPUT", "null"));
    for (const char* other : {"NULL", "null ", "nul", ""}) {
        ::setenv(kName, other, 1);
        EXPECT_FALSE(EnvironmentIs("WARDEN_AUDIO_OUTPUT", "null")) << '"' << other << '"';
    }
    ::unsetenv(kName);
    EXPECT_FALSE(EnvironmentIs("WARDEN_AUDIO_OUTPUT", "null"));
}

TEST(EnvironmentDefaultTest, AnUnsetVariableGivesTheTableDefaultWithoutMarkup)
{
    const char* saved = std::getenv("WARDEN_REBOOT_COMMAND");
    const std::optional<std::string> restore = saved != nullptr ? std::optional<std::string>(saved) : std::nullopt;

    ::unsetenv("WARDEN_REBOOT_COMMAND");
    EXPECT_EQ(EnvironmentSettingOrDefault("WARDEN_REBOOT_COMMAND"), "systemctl reboot");
    ::setenv("WARDEN_REBOOT_COMMAND", "", 1);
    EXPECT_EQ(EnvironmentSettingOrDefault("WARDEN_REBOOT_COMMAND"), "");

    if (restore) {
        ::setenv("WARDEN_REBOOT_COMMAND", restore->c_str(), 1);
    } else {
        ::unsetenv("WARDEN_REBOOT_COMMAND");
    }
}

TEST(EnvironmentTableTest, NamesAreUniqueAndEveryRowIsDocumented)
{
    std::set<std::string_view> names;
    for (const EnvironmentVariable& variable : EnvironmentVariables()) {
        EXPECT_TRUE(names.insert(variable.name).second) << variable.name << " is listed twice";
        EXPECT_FALSE(variable.defaultValue.empty()) << variable.name;
        EXPECT_FALSE(variable.meaning.empty()) << variable.name;
        EXPECT_EQ(variable.meaning.find('|'), std::string_view::npos) << variable.name << " would split its README row";
    }
}

TEST(EnvironmentTableTest, TheDocumentedOsVersionIsTheOneReported)
{
    constexpr EnvironmentKey key("WARDEN_OS_VERSION");
    EXPECT_EQ(key.Variable().defaultValue, "`" + std::to_string(kDefaultOsVersionCode) + "`");
}

} // namespace
