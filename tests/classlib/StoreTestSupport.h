#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace store_test {

/** A fresh system root per test: WARDEN_ROOT points at a new temporary folder that is removed afterwards. */
class FreshRootTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "warden-store-XXXXXX").string();
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

    std::string Path(const std::string& name) const { return (m_root / name).string(); }
    const std::filesystem::path& Root() const { return m_root; }

private:
    std::filesystem::path m_root;
};

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace store_test
