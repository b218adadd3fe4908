#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

namespace cipherwell::testing {

// Pass phrases of the three kinds the suite uses: a typed word, the Base64 process key, a Japanese text.
inline std::string AsciiPassPhrase()
{
    return "correct horse battery staple";
}

inline std::string Base64PassPhrase()
{
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < 1003; ++i) {
        text += alphabet[(i * 37 + i / 11) % alphabet.size()];
    }
    return text;
}

inline std::string JapanesePassPhrase()
{
    return "音声で守る秘密の合言葉";
}

// Bytes that differ from block to block, so that a misplaced block shows.
inline std::string PatternBytes(std::size_t size, std::uint32_t seed = 1)
{
    std::string bytes(size, '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    for (auto& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

inline std::size_t ContainerSize(std::size_t plainSize)
{
    return 8 + 8 * ((plainSize + 28) / 8 + 1);
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder per test, removed afterwards.
class TempFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        m_folder = std::filesystem::path(::testing::TempDir()) / ("cipher_" + std::to_string(getpid())) / name;
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::filesystem::path Path(const std::string& name) const { return m_folder / name; }

    std::filesystem::path m_folder;
};

} // namespace cipherwell::testing
