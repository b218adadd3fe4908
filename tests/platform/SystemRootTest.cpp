#include "TestRoot.h"

#include <platform/SystemRoot.h>

#include <optional>
#include <string>

using namespace platform;

namespace {

// Sets or clears the variables a test names and restores them afterwards.
class SystemRootTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            m_saved.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
        }
    }

    void TearDown() override
    {
        for (const auto& [name, value] : m_saved) {
            if (value) {
                ::setenv(name, value->c_str(), 1);
            } else {
                ::unsetenv(name);
            }
        }
    }

    static void Set(const char* name, const char* value)
    {
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }

    static constexpr const char* kNames[] = {"WARDEN_ROOT", "XDG_DATA_HOME", "HOME"};
    std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

struct RootCase
{
    const char* wardenRoot;
    const char* xdgDataHome;
    const char* home;
    const char* expected; // empty: no root
};

class SystemRootRuleTest : public SystemRootTest, public ::testing::WithParamInterface<RootCase>
{
};

TEST_P(SystemRootRuleTest, TheEnvironmentDecides)
{
    Set("WARDEN_ROOT", GetParam().wardenRoot);
    Set("XDG_DATA_HOME", GetParam().xdgDataHome);
    Set("HOME", GetParam().home);
    std::filesystem::path root;
    std::string error;
    const bool resolved = ResolveSystemRoot(root, error);
    EXPECT_EQ(root.string(), GetParam().expected);
    EXPECT_EQ(resolved, !std::string(GetParam().expected).empty());
    EXPECT_EQ(error.empty(), resolved);
}

INSTANTIATE_TEST_SUITE_P(Variables, SystemRootRuleTest,
    ::testing::Values(RootCase {"/srv/warden", "/x", "/home/u", "/srv/warden"},
        RootCase {"/srv/../srv/warden/", nullptr, nullptr, "/srv/warden/"}, RootCase {"relative", "/x", "/home/u", ""},
        RootCase {nullptr, "/data", "/home/u", "/data/deskwarden"},
        RootCase {"", "/data", "/home/u", "/data/deskwarden"},
        RootCase {nullptr, "data", "/home/u", "/home/u/.local/share/deskwarden"},
        RootCase {nullptr, nullptr, "/home/u", "/home/u/.local/share/deskwarden"},
        RootCase {nullptr, nullptr, nullptr, ""}, RootCase {nullptr, nullptr, "home", ""}));

TEST_F(SystemRootTest, FoldersLieBelowTheRoot)
{
    Set("WARDEN_ROOT", "/srv/warden");
    EXPECT_EQ(RegistryFolder(), "/srv/warden/registry");
    EXPECT_EQ(AccountsDatabasePath(), "/srv/warden/accounts.db");
    EXPECT_EQ(SystemFolder(), "/srv/warden/system");
    EXPECT_EQ(WindowsFolder(), "/srv/warden/windows");
    EXPECT_EQ(MediaFolder(), "/srv/warden/media");
    EXPECT_EQ(DefaultProgramFolder(), "/srv/warden/program");
    Set("WARDEN_ROOT", "not/absolute");
    EXPECT_TRUE(RegistryFolder().empty());
}

class EnsureFolderTest : public platform_test::FreshRoot
{
};

TEST_F(EnsureFolderTest, CreatesNestedFoldersAndRefusesFiles)
{
    std::string error;
    EXPECT_TRUE(EnsureFolder(Root() / "a" / "b", error));
    EXPECT_TRUE(std::filesystem::is_directory(Root() / "a" / "b"));
    EXPECT_TRUE(EnsureFolder(Root() / "a" / "b", error));
    platform_test::WriteFile(Root() / "file", "x");
    EXPECT_FALSE(EnsureFolder(Root() / "file", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(EnsureFolder({}, error));
}

} // namespace
