#include "Crypto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

class CryptoTest : public ::testing::Test
{
protected:
    CCrypto m_crypto;
};

TEST_F(CryptoTest, StringRoundTripsForTextsWithoutZeroBytes)
{
    const std::string key = CCrypto::GetProcessKey();
    for (const std::string& text :
        std::vector<std::string> {"", "a", "Administrator", "管理者,パスワード,1,2,3", std::string(5000, 'x')}) {
        const std::string hex = m_crypto.EncryptString(text, key);
        ASSERT_FALSE(hex.empty());
        EXPECT_EQ(m_crypto.DecryptString(hex, key), text);
    }
}

TEST_F(CryptoTest, AnotherKeyOrADamagedTextGivesTheEmptyText)
{
    const std::string hex = m_crypto.EncryptString("user record", "key one");
    EXPECT_EQ(m_crypto.DecryptString(hex, "key two"), "");
    EXPECT_EQ(m_crypto.DecryptString(hex.substr(0, hex.size() - 2), "key one"), "");
    EXPECT_EQ(m_crypto.DecryptString("", "key one"), "");
}

TEST_F(CryptoTest, ZeroBytesAreRefusedRatherThanCutShort)
{
    const std::string keyWithZero("key\0tail", 8);
    EXPECT_EQ(m_crypto.EncryptString("text", keyWithZero), "");
    EXPECT_EQ(m_crypto.EncryptString(std::string("te\0xt", 5), "key"), "");
    EXPECT_EQ(m_crypto.DecryptString(m_crypto.EncryptString("text", "key"), keyWithZero), "");
}

TEST_F(CryptoTest, ProcessKeyIsTheWholeBase64TextEveryTime)
{
    const std::string key = CCrypto::GetProcessKey();
    EXPECT_EQ(key.size(), 1003u);
    EXPECT_TRUE(std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
    }));
    EXPECT_EQ(CCrypto::GetProcessKey(), key);
}

// Written once under the process key; every store of every installation depends on reading it back.
TEST_F(CryptoTest, TextStoredUnderTheProcessKeyKeepsDecrypting)
{
    const std::string kStored
        = "6072603F655778DF64552F2B02671848BD84F8370334F2E30A2428ECF0DA12034D35EC19FE48AC2E011D123BF4C61DBC"
          "5067D6EAB51765C95EE2B7C8E73C1BA7097A641FC994F61F";
    EXPECT_EQ(m_crypto.DecryptString(kStored, CCrypto::GetProcessKey()), "DeskWarden process key fixture");
    // The last character matters too: a key cut short would not read it.
    const std::string key = CCrypto::GetProcessKey();
    EXPECT_EQ(m_crypto.DecryptString(kStored, key.substr(0, key.size() - 1)), "");
}

TEST_F(CryptoTest, FilesPassThroughToTheLibrary)
{
    const fs::path folder = fs::path(::testing::TempDir()) / ("crypto_test_" + std::to_string(getpid()));
    fs::create_directories(folder);
    {
        std::ofstream(folder / "plain", std::ios::binary) << "bundle member";
    }
    int flag = 1;
    const std::string key = CCrypto::GetProcessKey();
    EXPECT_EQ(
        m_crypto.EncryptFileA(nullptr, 0, (folder / "plain").string(), (folder / "sealed").string(), key, &flag, 200),
        1);
    EXPECT_EQ(fs::file_size(folder / "sealed"), 8u + 8u * ((13u + 28u) / 8u + 1u));
    EXPECT_EQ(m_crypto.DecryptFileA(
                  nullptr, 0, (folder / "sealed").string(), (folder / "wrong").string(), "other key", &flag, 200),
        0);
    EXPECT_FALSE(fs::exists(folder / "wrong"));
    EXPECT_EQ(
        m_crypto.DecryptFileA(nullptr, 0, (folder / "sealed").string(), (folder / "opened").string(), key, &flag, 200),
        1);
    std::ifstream opened(folder / "opened", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(opened), {}), "bundle member");
    EXPECT_EQ(m_crypto.EncryptFileA(nullptr, 0, (folder / "plain").string(), (folder / "zero").string(),
                  std::string("a\0b", 3), &flag, 200),
        0);
    fs::remove_all(folder);
}

} // namespace
