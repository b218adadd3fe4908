#include "StringCipher.h"

#include "CipherTestSupport.h"

#include <cryptopp/default.h>
#include <cryptopp/filters.h>
#include <cryptopp/hex.h>

#include <algorithm>
#include <cctype>

namespace {

using cipherwell::DecryptText;
using cipherwell::EncryptText;
using namespace cipherwell::testing;

std::string ToLower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

class StringCipherTest : public ::testing::TestWithParam<int>
{
protected:
    std::string PassPhrase() const
    {
        return GetParam() == 0 ? AsciiPassPhrase() : GetParam() == 1 ? Base64PassPhrase() : JapanesePassPhrase();
    }
};

TEST_P(StringCipherTest, RoundTripsTextsOfEveryPaddingLength)
{
    for (const std::string text :
        {"", "a", "abc", "abcd", "abcde", "abcdefg", "abcdefgh", "abcdefghi", "ユーザー名とパスワード"}) {
        const std::string hex = EncryptText(text, PassPhrase());
        EXPECT_EQ(hex.size(), 2 * ContainerSize(text.size())) << text;
        EXPECT_EQ(DecryptText(hex, PassPhrase()), text) << text;
    }
}

TEST_P(StringCipherTest, OutputIsUpperCaseHexOfWhatTheReferenceDecryptorReads)
{
    const std::string hex = EncryptText("secret record", PassPhrase());
    EXPECT_TRUE(std::all_of(hex.begin(), hex.end(), [](char c) { return std::isdigit(c) || (c >= 'A' && c <= 'F'); }));

    std::string plain;
    const std::string passPhrase = PassPhrase();
    CryptoPP::StringSource(hex, true,
        new CryptoPP::HexDecoder(
            new CryptoPP::LegacyDecryptorWithMAC(reinterpret_cast<const CryptoPP::byte*>(passPhrase.data()),
                passPhrase.size(), new CryptoPP::StringSink(plain), true)));
    EXPECT_EQ(plain, "secret record");
}

TEST_P(StringCipherTest, ReadsWhatTheReferenceEncryptorWrote)
{
    std::string hex;
    const std::string passPhrase = PassPhrase();
    CryptoPP::StringSource("from elsewhere", true,
        new CryptoPP::LegacyEncryptorWithMAC(reinterpret_cast<const CryptoPP::byte*>(passPhrase.data()),
            passPhrase.size(), new CryptoPP::HexEncoder(new CryptoPP::StringSink(hex))));
    EXPECT_EQ(DecryptText(hex, passPhrase), "from elsewhere");
}

INSTANTIATE_TEST_SUITE_P(PassPhrases, StringCipherTest, ::testing::Values(0, 1, 2));

TEST(StringCipher, SixCharactersGiveNinetySixHexDigits)
{
    EXPECT_EQ(EncryptText("abcdef", "key").size(), 96u);
}

TEST(StringCipher, SameTextTwiceGivesDifferentHexThatBothDecrypt)
{
    const std::string first = EncryptText("same", "key");
    const std::string second = EncryptText("same", "key");
    EXPECT_NE(first, second);
    EXPECT_EQ(DecryptText(first, "key"), "same");
    EXPECT_EQ(DecryptText(second, "key"), "same");
}

TEST(StringCipher, AcceptsLowerCaseAndSkipsOtherCharacters)
{
    const std::string hex = EncryptText("spaced out", "key");
    EXPECT_EQ(DecryptText(ToLower(hex), "key"), "spaced out");

    std::string noisy;
    for (std::size_t i = 0; i < hex.size(); ++i) {
        noisy += hex[i];
        noisy += (i % 3 == 0) ? " " : (i % 5 == 0) ? "\r\n" : (i % 7 == 0) ? "-:zZ" : "";
    }
    EXPECT_EQ(DecryptText(noisy, "key"), "spaced out");
}

TEST(StringCipher, WrongPassPhraseGivesNothing)
{
    EXPECT_FALSE(DecryptText(EncryptText("text", "right"), "wrong").has_value());
    EXPECT_FALSE(DecryptText(EncryptText("text", "right"), "").has_value());
}

TEST(StringCipher, PassPhraseIsTakenWithEveryByteIncludingNul)
{
    const std::string withNul("pass\0one", 8);
    const std::string hex = EncryptText("text", withNul);
    EXPECT_FALSE(DecryptText(hex, "pass").has_value());
    EXPECT_FALSE(DecryptText(hex, std::string("pass\0two", 8)).has_value());
    EXPECT_EQ(DecryptText(hex, withNul), "text");
}

TEST(StringCipher, EveryChangedDigitIsRejected)
{
    const std::string hex = EncryptText("a record of the user dictionary", "key");
    // Every digit of every byte: salt, key check, data, check value and padding alike.
    for (std::size_t i = 0; i < hex.size(); ++i) {
        std::string damaged = hex;
        damaged[i] = damaged[i] == '0' ? '1' : '0';
        EXPECT_FALSE(DecryptText(damaged, "key").has_value()) << "digit " << i;
    }
}

TEST(StringCipher, TruncatedOrEmptyTextIsRejected)
{
    const std::string hex = EncryptText("some text", "key");
    for (std::size_t length : {std::size_t(0), std::size_t(6), std::size_t(31), std::size_t(32), std::size_t(79),
             hex.size() - 1, hex.size() - 2, hex.size() - 16, hex.size() - 40}) {
        EXPECT_FALSE(DecryptText(hex.substr(0, length), "key").has_value()) << length;
    }
    EXPECT_FALSE(DecryptText("not hex at all", "key").has_value());
}

// Written once by this library; it must keep decrypting in every later build, or every stored record of
// every installation becomes unreadable.
TEST(StringCipher, StoredTextKeepsDecrypting)
{
    const char* const kStored
        = "324601545376E959C64D16850719036EFA1A2D48F2A817E0ADF183AEB971B397D22568F86765C41CEF5B451F"
          "798ADDB73F0E979A651EDC550E1D26A58FD26A125A048F47CAE062B56C474BA3403DC03A8B54BA8987DE87F5";
    EXPECT_EQ(DecryptText(kStored, "stored fixture key"), "ストアに保存された記録 stored record");
}

} // namespace
