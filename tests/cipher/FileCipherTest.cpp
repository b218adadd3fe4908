#include "FileCipher.h"

#include "CipherTestSupport.h"
#include "CipherWell.h"

#include <cryptopp/default.h>
#include <cryptopp/des.h>
#include <cryptopp/filters.h>
#include <cryptopp/hmac.h>
#include <cryptopp/modes.h>
#include <cryptopp/sha.h>

#include <optional>
#include <vector>

namespace {

using namespace cipherwell::testing;
namespace fs = std::filesystem;
using CryptoPP::byte;

const byte* Bytes(const std::string& text)
{
    return reinterpret_cast<const byte*>(text.data());
}

// Crypto++'s own encryptor and decryptor, used directly: they stand for any other writer or reader of
// the container.
std::string ReferenceEncrypt(const std::string& plain, const std::string& passPhrase)
{
    std::string encrypted;
    CryptoPP::LegacyEncryptorWithMAC encryptor(
        Bytes(passPhrase), passPhrase.size(), new CryptoPP::StringSink(encrypted));
    encryptor.Put(Bytes(plain), plain.size());
    encryptor.MessageEnd();
    return encrypted;
}

std::optional<std::string> ReferenceDecrypt(const std::string& encrypted, const std::string& passPhrase)
{
    std::string plain;
    try {
        CryptoPP::LegacyDecryptorWithMAC decryptor(
            Bytes(passPhrase), passPhrase.size(), new CryptoPP::StringSink(plain), true);
        decryptor.Put(Bytes(encrypted), encrypted.size());
        decryptor.MessageEnd();
    } catch (const CryptoPP::Exception&) {
        return std::nullopt;
    }
    return plain;
}

std::string Sha1(const std::string& prefix, const std::string& data)
{
    std::string digest(CryptoPP::SHA1::DIGESTSIZE, '\0');
    CryptoPP::SHA1 hash;
    hash.Update(Bytes(prefix), prefix.size());
    hash.Update(Bytes(data), data.size());
    hash.Final(reinterpret_cast<byte*>(digest.data()));
    return digest;
}

// The key stretching of the container, written from its description: blocks of 20 bytes, each the SHA-1
// of a two-byte block index and the input (first round) or the whole previous round (further rounds).
std::string Stretch(const std::string& input, std::size_t length, int rounds)
{
    const std::size_t rounded = (length + 19) / 20 * 20;
    std::string blocks(rounded, '\0');
    const auto indexBytes = [](std::size_t i) { return std::string {char(i / 256), char(i % 256)}; };
    for (std::size_t i = 0; i < length; i += 20) {
        blocks.replace(i, 20, Sha1(indexBytes(i), input));
    }
    for (int round = 1; round < rounds; ++round) {
        const std::string previous = blocks;
        for (std::size_t i = 0; i < rounded; i += 20) {
            blocks.replace(i, 20, Sha1(indexBytes(i), previous));
        }
    }
    return blocks.substr(0, length);
}

// Opens the container by its documented layout alone (salt, key check, data, HMAC, PKCS#7 padding),
// without the library's decryptor.
std::optional<std::string> OpenByLayout(const std::string& encrypted, const std::string& passPhrase)
{
    const std::string salt = encrypted.substr(0, 8);
    const std::string keyAndIv = Stretch(passPhrase + salt, 24, 200);
    std::string body;
    CryptoPP::CBC_Mode<CryptoPP::DES_EDE2>::Decryption cipher(Bytes(keyAndIv), 16, Bytes(keyAndIv) + 16);
    CryptoPP::StringSource(
        encrypted.substr(8), true, new CryptoPP::StreamTransformationFilter(cipher, new CryptoPP::StringSink(body)));
    if (body.size() < 28 || body.substr(0, 8) != Sha1(passPhrase, salt).substr(0, 8)) {
        return std::nullopt;
    }
    const std::string plain = body.substr(8, body.size() - 28);
    const std::string macKey = Stretch(passPhrase, 16, 1);
    std::string mac(20, '\0');
    CryptoPP::HMAC<CryptoPP::SHA1> hmac(Bytes(macKey), macKey.size());
    hmac.CalculateDigest(reinterpret_cast<byte*>(mac.data()), Bytes(plain), plain.size());
    if (mac != body.substr(body.size() - 20)) {
        return std::nullopt;
    }
    return plain;
}

int EncryptPath(const fs::path& source, const fs::path& target, const std::string& passPhrase)
{
    int keepGoing = 1;
    return EncryptFileStream(nullptr, 0, source.c_str(), target.c_str(), passPhrase.c_str(), &keepGoing, 200);
}

int DecryptPath(const fs::path& source, const fs::path& target, const std::string& passPhrase)
{
    int keepGoing = 1;
    return DecryptFileStream(nullptr, 0, source.c_str(), target.c_str(), passPhrase.c_str(), &keepGoing, 200);
}

std::string PassPhraseOfKind(int kind)
{
    switch (kind) {
    case 0:
        return AsciiPassPhrase();
    case 1:
        return Base64PassPhrase();
    default:
        return JapanesePassPhrase();
    }
}

// ---- Interoperability over every padding length and a few MiB, for each kind of pass phrase ----

class FileInteropTest : public TempFolderTest, public ::testing::WithParamInterface<std::tuple<std::size_t, int>>
{
protected:
    std::size_t Size() const { return std::get<0>(GetParam()); }
    std::string PassPhrase() const { return PassPhraseOfKind(std::get<1>(GetParam())); }
};

TEST_P(FileInteropTest, OurOutputHasFormulaSizeAndOpensWithReferenceDecryptorAndByLayout)
{
    const std::string plain = PatternBytes(Size());
    WriteFile(Path("plain"), plain);

    ASSERT_EQ(EncryptPath(Path("plain"), Path("sealed"), PassPhrase()), 1);

    const std::string sealed = ReadFile(Path("sealed"));
    EXPECT_EQ(sealed.size(), ContainerSize(Size()));
    EXPECT_EQ(ReferenceDecrypt(sealed, PassPhrase()), plain);
    EXPECT_EQ(OpenByLayout(sealed, PassPhrase()), plain);
}

TEST_P(FileInteropTest, ReferenceOutputDecryptsWithUs)
{
    const std::string plain = PatternBytes(Size(), 7);
    WriteFile(Path("sealed"), ReferenceEncrypt(plain, PassPhrase()));

    ASSERT_EQ(DecryptPath(Path("sealed"), Path("opened"), PassPhrase()), 1);

    EXPECT_EQ(ReadFile(Path("opened")), plain);
}

INSTANTIATE_TEST_SUITE_P(PaddingLengthsAndPassPhrases, FileInteropTest,
    ::testing::Combine(
        ::testing::Values(0u, 1u, 3u, 4u, 5u, 7u, 8u, 9u, 3u * 1024 * 1024 + 5), ::testing::Values(0, 1, 2)));

// ---- Pass phrases and salts ----

class FileCipherTest : public TempFolderTest
{
protected:
    void SealPlain(std::size_t size)
    {
        m_plain = PatternBytes(size, 3);
        WriteFile(Path("plain"), m_plain);
        ASSERT_EQ(EncryptPath(Path("plain"), Path("sealed"), AsciiPassPhrase()), 1);
        m_sealed = ReadFile(Path("sealed"));
    }

    std::string m_plain;
    std::string m_sealed;
};

TEST_F(FileCipherTest, WrongPassPhraseCreatesNoTargetAndLeavesAnExistingOneAlone)
{
    SealPlain(5000);
    EXPECT_EQ(DecryptPath(Path("sealed"), Path("opened"), "not the pass phrase"), 0);
    EXPECT_FALSE(fs::exists(Path("opened")));

    WriteFile(Path("existing"), "keep me");
    EXPECT_EQ(DecryptPath(Path("sealed"), Path("existing"), "not the pass phrase"), 0);
    EXPECT_EQ(ReadFile(Path("existing")), "keep me");
}

TEST_F(FileCipherTest, EveryEncryptionHasItsOwnSalt)
{
    SealPlain(100);
    ASSERT_EQ(EncryptPath(Path("plain"), Path("again"), AsciiPassPhrase()), 1);
    const std::string again = ReadFile(Path("again"));
    EXPECT_NE(again.substr(0, 8), m_sealed.substr(0, 8));
    EXPECT_NE(again, m_sealed);
}

TEST_F(FileCipherTest, PassPhraseBytesAfterAnEmbeddedNulCount)
{
    WriteFile(Path("plain"), "secret");
    cipherwell::FileJob job;
    job.source = Path("plain");
    job.target = Path("sealed");
    const std::string passPhrase("ab\0cd", 5);
    job.passPhrase = passPhrase;
    ASSERT_EQ(cipherwell::EncryptFile(job), 1);

    EXPECT_FALSE(ReferenceDecrypt(ReadFile(Path("sealed")), "ab").has_value());
    EXPECT_EQ(ReferenceDecrypt(ReadFile(Path("sealed")), passPhrase), "secret");
}

// ---- Damaged data: a flipped bit anywhere, truncation ----

struct Damage
{
    const char* name;
    // Offset from the start (>= 0) or from the end (< 0).
    long offset;
};

class DamagedFileTest : public FileCipherTest, public ::testing::WithParamInterface<Damage>
{
};

TEST_P(DamagedFileTest, FlippedBitFailsAndLeavesNoTarget)
{
    SealPlain(5000);
    std::string damaged = m_sealed;
    const long offset = GetParam().offset;
    const std::size_t at = offset >= 0 ? std::size_t(offset) : damaged.size() - std::size_t(-offset);
    damaged[at] = char(damaged[at] ^ 0x10);
    WriteFile(Path("damaged"), damaged);

    EXPECT_EQ(DecryptPath(Path("damaged"), Path("opened"), AsciiPassPhrase()), 0);

    // Whatever was decrypted before the check value failed is unauthenticated and must not stay around.
    EXPECT_FALSE(fs::exists(Path("opened")));
    EXPECT_FALSE(ReferenceDecrypt(damaged, AsciiPassPhrase()).has_value());
}

INSTANTIATE_TEST_SUITE_P(EveryRegion, DamagedFileTest,
    ::testing::Values(Damage {"SaltFirstByte", 0}, Damage {"SaltLastByte", 7}, Damage {"KeyCheckFirstByte", 8},
        Damage {"KeyCheckLastByte", 15}, Damage {"FirstDataBlock", 16}, Damage {"BodyMiddle", 2600},
        Damage {"BeforeCheckValue", -40}, Damage {"CheckValue", -20}, Damage {"PaddingBlock", -3},
        Damage {"LastByte", -1}),
    [](const auto& info) { return std::string(info.param.name); });

class TruncatedFileTest : public FileCipherTest, public ::testing::WithParamInterface<long>
{
};

TEST_P(TruncatedFileTest, FailsWithoutCrashAndLeavesNoTarget)
{
    SealPlain(5000);
    const long length = GetParam();
    const std::size_t keep = length >= 0 ? std::size_t(length) : m_sealed.size() - std::size_t(-length);
    WriteFile(Path("short"), m_sealed.substr(0, keep));

    EXPECT_EQ(DecryptPath(Path("short"), Path("opened"), AsciiPassPhrase()), 0);
    EXPECT_FALSE(fs::exists(Path("opened")));
}

// Lengths: empty, 3 bytes, one short of the key check, just the key check, the empty container minus one,
// a byte or a block or the check value short of the whole.
INSTANTIATE_TEST_SUITE_P(Lengths, TruncatedFileTest, ::testing::Values(0, 3, 15, 16, 39, -1, -8, -20, -257));

// ---- Sources and targets that cannot be used ----

TEST_F(FileCipherTest, UnreadableSourceFailsAndLeavesTheTargetAlone)
{
    WriteFile(Path("existing"), "keep me");
    EXPECT_EQ(EncryptPath(Path("missing"), Path("existing"), AsciiPassPhrase()), 0);
    EXPECT_EQ(DecryptPath(Path("missing"), Path("existing"), AsciiPassPhrase()), 0);
    EXPECT_EQ(ReadFile(Path("existing")), "keep me");
}

TEST_F(FileCipherTest, FolderAsSourceFailsAndLeavesNoTarget)
{
    fs::create_directory(Path("folder"));
    EXPECT_EQ(EncryptPath(Path("folder"), Path("sealed"), AsciiPassPhrase()), 0);
    EXPECT_FALSE(fs::exists(Path("sealed")));
    EXPECT_EQ(DecryptPath(Path("folder"), Path("opened"), AsciiPassPhrase()), 0);
    EXPECT_FALSE(fs::exists(Path("opened")));
}

TEST_F(FileCipherTest, UncreatableTargetFails)
{
    SealPlain(100);
    EXPECT_EQ(EncryptPath(Path("plain"), Path("no/such/folder/sealed"), AsciiPassPhrase()), 0);
    EXPECT_EQ(DecryptPath(Path("sealed"), Path("no/such/folder/opened"), AsciiPassPhrase()), 0);
    fs::create_directory(Path("folder"));
    EXPECT_EQ(DecryptPath(Path("sealed"), Path("folder"), AsciiPassPhrase()), 0);
    EXPECT_TRUE(fs::is_directory(Path("folder")));
}

TEST_F(FileCipherTest, TargetNamingTheSourceIsRefusedAndTheSourceSurvives)
{
    SealPlain(3000);
    fs::create_symlink(Path("plain"), Path("link"));

    EXPECT_EQ(EncryptPath(Path("plain"), Path("plain"), AsciiPassPhrase()), 0);
    EXPECT_EQ(EncryptPath(Path("plain"), Path("link"), AsciiPassPhrase()), 0);
    EXPECT_EQ(DecryptPath(Path("sealed"), Path("sealed"), AsciiPassPhrase()), 0);

    EXPECT_EQ(ReadFile(Path("plain")), m_plain);
    EXPECT_EQ(ReadFile(Path("sealed")), m_sealed);
}

// ---- Progress messages and cancellation through real files ----

struct Recorder
{
    struct Message
    {
        unsigned int id;
        std::int64_t wParam;
        std::int64_t lParam;
    };

    static void Post(void* context, unsigned int id, std::int64_t wParam, std::int64_t lParam)
    {
        static_cast<Recorder*>(context)->messages.push_back({id, wParam, lParam});
    }
    static int Ask(void* context, const char*, const char*)
    {
        auto* self = static_cast<Recorder*>(context);
        ++self->questions;
        return self->answerYes ? 1 : 0;
    }

    CipherWellTarget Target() { return {&Recorder::Post, this, &Recorder::Ask, this}; }

    std::vector<Message> messages;
    int questions = 0;
    bool answerYes = false;
};

class FileProgressTest : public FileCipherTest
{
protected:
    // A clock that moves one millisecond per reading and, at the given reading, clears the continue flag as
    // a user closing the progress window would.
    cipherwell::FileJob MakeJob(const fs::path& source, const fs::path& target, int clearAtTick = -1)
    {
        cipherwell::FileJob job;
        m_target = m_recorder.Target();
        job.window = &m_target;
        job.tag = 42;
        job.source = source;
        job.target = target;
        job.passPhrase = m_passPhrase;
        job.continueFlag = &m_flag;
        job.intervalMs = 0;
        job.ticks = [this, clearAtTick] {
            if (++m_tickCount == clearAtTick) {
                m_flag = 0;
            }
            return std::uint64_t(m_tickCount);
        };
        return job;
    }

    std::uint64_t SumOfSteps() const
    {
        std::uint64_t sum = 0;
        for (std::size_t i = 1; i < m_recorder.messages.size(); ++i) {
            sum += std::uint64_t(m_recorder.messages[i].wParam);
        }
        return sum;
    }

    std::string m_passPhrase = AsciiPassPhrase();
    Recorder m_recorder;
    CipherWellTarget m_target {};
    int m_flag = 1;
    int m_tickCount = 0;
};

TEST_F(FileProgressTest, EncryptionReportsStartThenEveryPumpAndTheWholeSourceAtTheEnd)
{
    SealPlain(10000);
    ASSERT_EQ(cipherwell::EncryptFile(MakeJob(Path("plain"), Path("sealed2"))), 1);

    const auto& messages = m_recorder.messages;
    ASSERT_GE(messages.size(), 3u);
    EXPECT_EQ(messages.front().id, unsigned(kCipherWellStartMessage));
    EXPECT_EQ(messages.front().wParam, 42);
    EXPECT_EQ(messages.back().id, unsigned(kCipherWellProgressMessage));
    EXPECT_EQ(messages.back().lParam, 10000);
    EXPECT_EQ(SumOfSteps(), 10000u);
    // Ten pumps of at most 1024 bytes, each followed by a message, plus the final one.
    EXPECT_EQ(messages.size(), 1u + 10u + 1u);
}

TEST_F(FileProgressTest, DecryptionLeavesTheKeyCheckReadOutOfTheTotals)
{
    SealPlain(10000);
    ASSERT_EQ(cipherwell::DecryptFile(MakeJob(Path("sealed"), Path("opened"))), 1);

    EXPECT_EQ(ReadFile(Path("opened")), m_plain);
    EXPECT_EQ(m_recorder.messages.back().lParam, std::int64_t(m_sealed.size() - 256));
    EXPECT_EQ(SumOfSteps(), m_sealed.size() - 256);
}

class FileCancellationTest : public FileProgressTest, public ::testing::WithParamInterface<std::tuple<bool, bool>>
{
protected:
    bool Decrypting() const { return std::get<0>(GetParam()); }
    bool AnswerYes() const { return std::get<1>(GetParam()); }

    int RunClearingTheFlagMidFile()
    {
        m_recorder.answerYes = AnswerYes();
        constexpr int kClearAtTick = 10;
        return Decrypting() ? cipherwell::DecryptFile(MakeJob(Path("sealed"), Path("out"), kClearAtTick))
                            : cipherwell::EncryptFile(MakeJob(Path("plain"), Path("out"), kClearAtTick));
    }
};

TEST_P(FileCancellationTest, ClearedFlagAsksOnceAndObeysTheAnswer)
{
    SealPlain(64 * 1024);

    const int result = RunClearingTheFlagMidFile();

    EXPECT_EQ(m_recorder.questions, 1);
    const std::string out = ReadFile(Path("out"));
    if (AnswerYes()) {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(m_flag, 0);
        // The caller deletes the partial target; it is still there for him to see.
        EXPECT_TRUE(fs::exists(Path("out")));
        EXPECT_LT(out.size(), m_plain.size());
    } else {
        EXPECT_EQ(result, 1);
        EXPECT_EQ(m_flag, 1);
        EXPECT_EQ(Decrypting() ? out : ReferenceDecrypt(out, m_passPhrase).value_or(""), m_plain);
    }
}

INSTANTIATE_TEST_SUITE_P(DirectionAndAnswer, FileCancellationTest,
    ::testing::Combine(::testing::Bool(), ::testing::Bool()), [](const auto& info) {
        return std::string(std::get<0>(info.param) ? "Decrypt" : "Encrypt") + (std::get<1>(info.param) ? "Yes" : "No");
    });

TEST_F(FileProgressTest, ClearedFlagWithoutAnyoneToAskStopsAtOnce)
{
    SealPlain(64 * 1024);
    cipherwell::FileJob job = MakeJob(Path("plain"), Path("out"), 3);
    job.window = nullptr;
    EXPECT_EQ(cipherwell::EncryptFile(job), 0);

    m_tickCount = 0;
    m_flag = 1;
    CipherWellTarget postOnly {&Recorder::Post, &m_recorder, nullptr, nullptr};
    job = MakeJob(Path("sealed"), Path("out"), 3);
    job.window = &postOnly;
    EXPECT_EQ(cipherwell::DecryptFile(job), 0);
    EXPECT_EQ(m_recorder.questions, 0);
}

TEST_F(FileProgressTest, FlagClearedAfterTheLastPumpIsReturnedByEncryption)
{
    SealPlain(100);
    // Readings: the start, the single pump, then nothing more; the flag is cleared at the pump's reading.
    EXPECT_EQ(cipherwell::EncryptFile(MakeJob(Path("plain"), Path("out"), 2)), 0);
    EXPECT_EQ(m_recorder.questions, 0);
    EXPECT_EQ(ReferenceDecrypt(ReadFile(Path("out")), m_passPhrase), m_plain);
}

} // namespace
