#include "CipherWell.h"

#include "CipherTestSupport.h"

#include <cstring>
#include <string>

namespace {

using namespace cipherwell::testing;

// Owns a text of the library and frees it the only permitted way.
struct LibraryText
{
    explicit LibraryText(char* text)
        : text(text)
    {
    }
    ~LibraryText() { DeleteStringMemory(text); }
    LibraryText(const LibraryText&) = delete;
    LibraryText& operator=(const LibraryText&) = delete;

    char* text;
};

TEST(CipherWellExports, TextRoundTripThroughTheCInterface)
{
    const LibraryText hex(EncryptStr("パスワード", "process key"));
    ASSERT_NE(hex.text, nullptr);
    EXPECT_EQ(std::strlen(hex.text), 2 * ContainerSize(std::strlen("パスワード")));

    const LibraryText plain(DecryptStr(hex.text, "process key"));
    ASSERT_NE(plain.text, nullptr);
    EXPECT_STREQ(plain.text, "パスワード");
}

TEST(CipherWellExports, EmptyTextEncryptsAndDecryptsToEmpty)
{
    const LibraryText hex(EncryptStr("", "k"));
    ASSERT_NE(hex.text, nullptr);
    EXPECT_EQ(std::strlen(hex.text), 80u);
    const LibraryText plain(DecryptStr(hex.text, "k"));
    ASSERT_NE(plain.text, nullptr);
    EXPECT_STREQ(plain.text, "");
}

TEST(CipherWellExports, FailuresGiveNullWithoutCrashing)
{
    const LibraryText hex(EncryptStr("text", "k"));
    EXPECT_EQ(DecryptStr(hex.text, "other"), nullptr);
    EXPECT_EQ(DecryptStr("00", "k"), nullptr);
    EXPECT_EQ(DecryptStr("", "k"), nullptr);
    EXPECT_EQ(DecryptStr(nullptr, "k"), nullptr);
    EXPECT_EQ(DecryptStr(hex.text, nullptr), nullptr);
    EXPECT_EQ(EncryptStr(nullptr, "k"), nullptr);
    EXPECT_EQ(EncryptStr("text", nullptr), nullptr);
    DeleteStringMemory(nullptr);
}

class CipherWellFileExportsTest : public TempFolderTest
{
};

TEST_F(CipherWellFileExportsTest, NullArgumentsFailAndTouchNothing)
{
    WriteFile(Path("plain"), "plain");
    const std::string source = Path("plain").string();
    const std::string target = Path("out").string();
    int flag = 1;
    for (auto* function : {&EncryptFileStream, &DecryptFileStream}) {
        EXPECT_EQ(function(nullptr, 0, nullptr, target.c_str(), "k", &flag, 200), 0);
        EXPECT_EQ(function(nullptr, 0, source.c_str(), nullptr, "k", &flag, 200), 0);
        EXPECT_EQ(function(nullptr, 0, source.c_str(), target.c_str(), nullptr, &flag, 200), 0);
    }
    EXPECT_FALSE(std::filesystem::exists(Path("out")));
}

TEST_F(CipherWellFileExportsTest, NullContinueFlagMeansTheWorkCannotBeCancelled)
{
    WriteFile(Path("plain"), PatternBytes(5000));
    const std::string plain = Path("plain").string();
    const std::string sealed = Path("sealed").string();
    const std::string opened = Path("opened").string();
    EXPECT_EQ(EncryptFileStream(nullptr, 0, plain.c_str(), sealed.c_str(), "k", nullptr, 200), 1);
    EXPECT_EQ(DecryptFileStream(nullptr, 0, sealed.c_str(), opened.c_str(), "k", nullptr, 200), 1);
    EXPECT_EQ(ReadFile(Path("opened")), PatternBytes(5000));
}

TEST_F(CipherWellFileExportsTest, EncryptionReturnsTheFlagValueItWasLeftWith)
{
    WriteFile(Path("plain"), "");
    const std::string plain = Path("plain").string();
    const std::string sealed = Path("sealed").string();
    // An empty file runs no pump, so the question never comes and the cleared flag is the result.
    int flag = 0;
    EXPECT_EQ(EncryptFileStream(nullptr, 0, plain.c_str(), sealed.c_str(), "k", &flag, 200), 0);
    EXPECT_EQ(std::filesystem::file_size(Path("sealed")), 40u);
}

} // namespace
