#include "Setup/SecureFileFormat.h"

#include "../StoreFaults.h"

#include <gtest/gtest.h>

namespace format = talk::secure_file_format;

namespace {

TEST(SecureFileFormatTest, NewFileHoldsTheSettingsAndTwoEmptyEntries)
{
    const std::string bytes = format::NewFile("SETTINGS");
    EXPECT_EQ(bytes, std::string("\x08\0\0\0SETTINGS\0\0\0\0\0\0\0\0", 20));
    EXPECT_EQ(format::EntryText(bytes, 0), "SETTINGS");
    EXPECT_EQ(format::EntryText(bytes, 2), "");
    EXPECT_FALSE(format::EntryText(bytes, 3));
}

TEST(SecureFileFormatTest, NewByPassKeyKeepsTheInstallRecordAndTheTrailingBytes)
{
    const std::string start
        = format::EncodeEntry("S") + format::EncodeEntry("INSTALL") + format::EncodeEntry("OLDKEYOLDKEY") + "tail";
    const auto changed = format::WithBypassEntry(start, "NEW");
    ASSERT_TRUE(changed);
    EXPECT_EQ(
        *changed, format::EncodeEntry("S") + format::EncodeEntry("INSTALL") + format::EncodeEntry("NEW") + "tail");
    EXPECT_FALSE(format::WithBypassEntry(format::EncodeEntry("S"), "NEW"));
}

TEST(SecureFileFormatTest, SettingsEntryIsWrittenOverTheStartOnly)
{
    const std::string start = format::EncodeEntry("AAAA") + format::EncodeEntry("REC") + "rest";
    EXPECT_EQ(
        format::WithSettingsEntry(start, "BBBB"), format::EncodeEntry("BBBB") + format::EncodeEntry("REC") + "rest");
    EXPECT_EQ(format::WithSettingsEntry("", "BBBB"), format::EncodeEntry("BBBB"));
}

TEST(SecureFileFormatTest, SettingsTextReadsMissingAndForeignCharactersAsZero)
{
    EXPECT_EQ(format::FormatSettings({0, 1, 0, 2, 1, 9}), "010219");
    EXPECT_EQ(format::ParseSettings("010219"), (format::SettingsDigits {0, 1, 0, 2, 1, 9}));
    EXPECT_EQ(format::ParseSettings("1x3"), (format::SettingsDigits {1, 0, 3, 0, 0, 0}));
    EXPECT_EQ(format::ParseSettings(""), (format::SettingsDigits {}));
}

TEST(SecureFileFormatTest, TruncatedOrRandomBytesNeverYieldAnEntryPastTheData)
{
    const std::string bytes = format::NewFile("SETTINGS") + "x";
    for (std::size_t length = 0; length <= bytes.size(); ++length) {
        const std::string_view prefix = std::string_view(bytes).substr(0, length);
        for (std::size_t index = 0; index < 4; ++index) {
            if (const auto entry = format::FindEntry(prefix, index)) {
                EXPECT_LE(entry->End(), length);
            }
        }
    }
    for (unsigned seed = 0; seed < 300; ++seed) {
        const std::string random = store_test::RandomBytes(seed % 64, seed);
        for (std::size_t index = 0; index < 3; ++index) {
            if (const auto entry = format::FindEntry(random, index)) {
                EXPECT_LE(entry->End(), random.size());
            }
        }
    }
}

} // namespace
