#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace warden::test {

/** Every test gets its own system root: WARDEN_ROOT names a new temporary folder, removed afterwards. */
class FreshRootTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "warden-root-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        ::setenv("WARDEN_ROOT", m_root.c_str(), 1);
    }

    void TearDown() override
    {
        ::unsetenv("WARDEN_ROOT");
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    const std::filesystem::path& Root() const { return m_root; }
    std::string Path(const std::string& name) const { return (m_root / name).string(); }

private:
    std::filesystem::path m_root;
};

} // namespace warden::test
