#include "Setup/SetupSecure.h"

#include "../StoreFaults.h"
#include "../StoreTestSupport.h"
#include "Setup/SecureFileFormat.h"

#include <sys/wait.h>
#include <unistd.h>

namespace format = talk::secure_file_format;

namespace {

using store_test::ReadBytes;
using store_test::WriteBytes;
using Settings = CSetupSecure::tagSecureSettings;

class SetupSecureTest : public store_test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        ASSERT_EQ(m_secure.SetSetupSecureFilePath(SecurePath()), 1);
    }

    std::string SecurePath() const { return Path("halvox.dat"); }

    static std::string Digits(const Settings& s)
    {
        return format::FormatSettings({s.logonVoiceEnabled, s.deleteSourceAfterEncrypt, s.deleteBundleAfterDecrypt,
            s.logonAuthMode, s.fileAuthMode, s.firstRun});
    }

    CSetupSecure m_secure;
};

TEST_F(SetupSecureTest, NewInstallationHasTheDefaultsAndNoByPassKey)
{
    const std::string bytes = ReadBytes(SecurePath());
    ASSERT_EQ(bytes.size(), 4u + 96u + 8u);
    EXPECT_EQ(bytes.substr(100), std::string(8, '\0'));
    Settings settings;
    settings.firstRun = 7;
    EXPECT_EQ(m_secure.GetAppSettings(settings), 1);
    EXPECT_EQ(Digits(settings), "000111");
    EXPECT_EQ(m_secure.GetBackupBypassKey(), "");
}

TEST_F(SetupSecureTest, SettingsAndByPassKeyKeepEachOtherAndTheInstallRecord)
{
    const std::string key = m_secure.CreateBackupBypassKey();
    ASSERT_FALSE(key.empty());
    Settings written;
    written.logonVoiceEnabled = 1;
    written.logonAuthMode = 2;
    written.fileAuthMode = 0;
    written.firstRun = 0;
    ASSERT_EQ(m_secure.SetAppSettings(written), 1);
    ASSERT_EQ(m_secure.SetBackupBypassKey(key), 1);
    ASSERT_EQ(m_secure.SetAppSettings(written), 1);
    Settings read;
    ASSERT_EQ(m_secure.GetAppSettings(read), 1);
    EXPECT_EQ(Digits(read), "100200");
    EXPECT_EQ(m_secure.GetBackupBypassKey(), key);
    EXPECT_EQ(format::EntryText(ReadBytes(SecurePath()), 1), "");
}

TEST_F(SetupSecureTest, KeysMadeASecondApartDifferAndHaveOneLength)
{
    const std::string first = m_secure.CreateBackupBypassKey();
    ::sleep(1);
    const std::string second = m_secure.CreateBackupBypassKey();
    EXPECT_NE(first, second);
    EXPECT_EQ(first.size(), second.size());
    EXPECT_EQ(first.find_first_not_of("0123456789ABCDEF"), std::string::npos);
}

TEST_F(SetupSecureTest, MultiDigitSettingsAreRefusedWithNothingWritten)
{
    const std::string before = ReadBytes(SecurePath());
    Settings settings;
    settings.fileAuthMode = 10;
    EXPECT_EQ(m_secure.SetAppSettings(settings), 0);
    settings.fileAuthMode = -1;
    EXPECT_EQ(m_secure.SetAppSettings(settings), 0);
    EXPECT_EQ(ReadBytes(SecurePath()), before);
}

TEST_F(SetupSecureTest, BytesAfterTheByPassKeyAreKept)
{
    WriteBytes(SecurePath(), ReadBytes(SecurePath()) + "FOREIGN");
    ASSERT_EQ(m_secure.SetBackupBypassKey("K1"), 1);
    ASSERT_EQ(m_secure.SetBackupBypassKey("K2"), 1);
    EXPECT_EQ(m_secure.GetBackupBypassKey(), "K2");
    const std::string bytes = ReadBytes(SecurePath());
    EXPECT_EQ(bytes.substr(bytes.size() - 7), "FOREIGN");
}

TEST_F(SetupSecureTest, TruncatedAndRandomFilesReadAsZerosOrNoKey)
{
    ASSERT_EQ(m_secure.SetBackupBypassKey(m_secure.CreateBackupBypassKey()), 1);
    const std::string full = ReadBytes(SecurePath());
    for (std::size_t length = 0; length < full.size(); ++length) {
        WriteBytes(SecurePath(), full.substr(0, length));
        Settings settings;
        const int read = m_secure.GetAppSettings(settings);
        EXPECT_EQ(read, length >= 100 ? 1 : 0) << length;
        if (!read) {
            EXPECT_EQ(Digits(settings), "000000") << length;
        }
        EXPECT_EQ(m_secure.GetBackupBypassKey(), "") << length;
    }
    for (unsigned seed = 0; seed < 30; ++seed) {
        WriteBytes(SecurePath(), store_test::RandomBytes(seed * 11, seed));
        Settings settings;
        EXPECT_EQ(m_secure.GetAppSettings(settings), 0);
        EXPECT_EQ(Digits(settings), "000000");
        (void)m_secure.GetBackupBypassKey();
        Settings written;
        written.firstRun = 0;
        ASSERT_EQ(m_secure.SetAppSettings(written), 1) << seed;
        ASSERT_EQ(m_secure.GetAppSettings(settings), 1) << seed;
        EXPECT_EQ(Digits(settings), "000110");
    }
}

TEST_F(SetupSecureTest, TwoProcessesChangingTheFileAtOnceLoseNoWrite)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CSetupSecure secure;
        secure.SetSetupSecureFilePath(SecurePath());
        int failures = 0;
        for (int i = 0; i < 40; ++i) {
            failures += secure.SetBackupBypassKey("KEY" + std::to_string(i)) ? 0 : 1;
        }
        ::_exit(failures);
    }
    Settings written;
    written.deleteSourceAfterEncrypt = 1;
    for (int i = 0; i < 40; ++i) {
        written.firstRun = i % 2;
        ASSERT_EQ(m_secure.SetAppSettings(written), 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    Settings read;
    ASSERT_EQ(m_secure.GetAppSettings(read), 1);
    EXPECT_EQ(Digits(read), "010111");
    EXPECT_EQ(m_secure.GetBackupBypassKey(), "KEY39");
}

} // namespace
