#include "lock/SystemStart.h"
#include "rules/ProcessNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace screenveil {
namespace {

/** A stand-in for /proc: one folder per process with its command name. */
class FakeProcessTable : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = std::filesystem::temp_directory_path() / ("proc-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_root);
        // The tray program's socket lives in the temporary folder: an empty one of our own has none, so that
        // a tray program running on this machine is never asked to lock.
        m_temporary = m_root / "tmp";
        std::filesystem::create_directories(m_temporary);
        const char* before = std::getenv("TMPDIR");
        m_savedTemporary = before ? std::optional<std::string>(before) : std::nullopt;
        ::setenv("TMPDIR", m_temporary.c_str(), 1);
    }
    void TearDown() override
    {
        if (m_savedTemporary)
            ::setenv("TMPDIR", m_savedTemporary->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        std::filesystem::remove_all(m_root);
    }

    void Process(const std::string& id, const std::string& name)
    {
        std::filesystem::create_directories(m_root / id);
        std::ofstream(m_root / id / "comm") << name << "\n";
    }

    std::filesystem::path m_root;
    std::filesystem::path m_temporary;
    std::optional<std::string> m_savedTemporary;
};

TEST_F(FakeProcessTable, ReadsTheCommandNameOfEveryNumberedFolder)
{
    Process("1", "systemd");
    Process("4711", "ScreenVeil.scr");
    Process("self", "not-a-process");
    std::filesystem::create_directories(m_root / "99"); // ended while being read: no name
    auto names = RunningProcessNames(m_root.string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string> {"ScreenVeil.scr", "systemd"}));
    EXPECT_TRUE(HasProcessNamed(names, "screenveil.SCR"));
    EXPECT_FALSE(HasProcessNamed(names, "ScreenVeil"));
    EXPECT_TRUE(RunningProcessNames((m_root / "missing").string()).empty());
}

TEST_F(FakeProcessTable, AStartWhileALockRunsAsksNobody)
{
    Process("10", "screenveil");
    std::string error;
    EXPECT_FALSE(RequestLockFromTray(m_root.string(), error));
    EXPECT_EQ(error, "a lock already runs");
}

TEST_F(FakeProcessTable, AStartUnderTheLinkNameAsksTheTrayProgramAndWithoutOneNothingHappens)
{
    Process("10", "ScreenVeil.scr");
    std::string error;
    EXPECT_FALSE(RequestLockFromTray(m_root.string(), error));
    EXPECT_NE(error, "a lock already runs");
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace screenveil
