#include "TestRoot.h"

#include <platform/Registry.h>

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

using namespace platform;

namespace {

class RegistryTest : public platform_test::FreshRoot
{
protected:
    HKEY Create(HKEY root, const std::string& path)
    {
        HKEY key = kNullKey;
        EXPECT_EQ(RegCreateKeyEx(root, path, KEY_ALL_ACCESS, &key, nullptr), ERROR_SUCCESS) << path;
        return key;
    }

    static LSTATUS SetText(HKEY key, const std::string& name, const std::string& text)
    {
        return RegSetValueEx(key, name, REG_SZ, reinterpret_cast<const std::uint8_t*>(text.c_str()),
            static_cast<DWORD>(text.size() + 1));
    }

    static LSTATUS SetDword(HKEY key, const std::string& name, std::uint32_t value)
    {
        return RegSetValueEx(key, name, REG_DWORD, reinterpret_cast<const std::uint8_t*>(&value), 4);
    }

    static std::string QueryText(HKEY key, const std::string& name)
    {
        char buffer[512] = {};
        DWORD size = sizeof(buffer);
        DWORD type = REG_NONE;
        if (RegQueryValueEx(key, name, &type, reinterpret_cast<std::uint8_t*>(buffer), &size) != ERROR_SUCCESS) {
            return "<missing>";
        }
        return std::string(buffer);
    }

    static std::vector<std::string> SubkeyNames(HKEY key)
    {
        std::vector<std::string> names;
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD size = sizeof(name);
            if (RegEnumKeyEx(key, i, name, &size) != ERROR_SUCCESS) {
                return names;
            }
            names.emplace_back(name, size);
        }
    }

    static std::vector<std::string> ValueNames(HKEY key)
    {
        std::vector<std::string> names;
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD size = sizeof(name);
            if (RegEnumValue(key, i, name, &size, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
                return names;
            }
            names.emplace_back(name, size);
        }
    }

    std::filesystem::path HiveFile(const char* hive) const { return Root() / "registry" / (std::string(hive) + ".db"); }
};

TEST_F(RegistryTest, ValuesKeepTypeAndBytes)
{
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Software\\Nordvale\\DeskWarden\\Program");
    ASSERT_EQ(SetText(key, "AppPath", "/opt/warden"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, "Count", 0xDEADBEEF), ERROR_SUCCESS);
    const std::uint8_t blob[] = {0, 1, 2, 0, 255};
    ASSERT_EQ(RegSetValueEx(key, "Blob", REG_BINARY, blob, sizeof(blob)), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(key, "Empty", REG_BINARY, nullptr, 0), ERROR_SUCCESS);

    EXPECT_EQ(QueryText(key, "AppPath"), "/opt/warden");
    DWORD type = REG_NONE;
    std::uint32_t dword = 0;
    DWORD size = sizeof(dword);
    ASSERT_EQ(RegQueryValueEx(key, "count", &type, reinterpret_cast<std::uint8_t*>(&dword), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(dword, 0xDEADBEEFu);

    std::uint8_t read[16] = {};
    size = sizeof(read);
    ASSERT_EQ(RegQueryValueEx(key, "Blob", &type, read, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    ASSERT_EQ(size, sizeof(blob));
    EXPECT_EQ(std::memcmp(read, blob, sizeof(blob)), 0);

    size = 99;
    ASSERT_EQ(RegQueryValueEx(key, "Empty", &type, read, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::exists(HiveFile("HKEY_LOCAL_MACHINE")));
}

TEST_F(RegistryTest, SmallBufferReportsSizeAndLeavesBufferAlone)
{
    HKEY key = Create(HKEY_CURRENT_USER, "A");
    ASSERT_EQ(SetText(key, "Text", "0123456789"), ERROR_SUCCESS);
    char buffer[4] = {'x', 'x', 'x', 'x'};
    DWORD size = sizeof(buffer);
    EXPECT_EQ(RegQueryValueEx(key, "Text", nullptr, reinterpret_cast<std::uint8_t*>(buffer), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(std::string(buffer, 4), "xxxx");
    size = 0;
    EXPECT_EQ(RegQueryValueEx(key, "Text", nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 11u);
    RegCloseKey(key);
}

TEST_F(RegistryTest, NamesIgnoreAsciiCaseAndKeepTheirFirstSpelling)
{
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Software\\MixedCase");
    ASSERT_EQ(SetText(key, "Value", "one"), ERROR_SUCCESS);
    ASSERT_EQ(SetText(key, "VALUE", "two"), ERROR_SUCCESS);
    EXPECT_EQ(ValueNames(key), std::vector<std::string> {"Value"});
    EXPECT_EQ(QueryText(key, "value"), "two");
    RegCloseKey(key);

    HKEY again = kNullKey;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\mixedcase\\", KEY_READ, &again), ERROR_SUCCESS);
    EXPECT_EQ(QueryText(again, "VALUE"), "two");
    RegCloseKey(again);

    HKEY software = kNullKey;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "software", KEY_READ, &software), ERROR_SUCCESS);
    EXPECT_EQ(SubkeyNames(software), std::vector<std::string> {"MixedCase"});
    RegCloseKey(software);
    // Only ASCII letters fold: "É" and "é" are different names.
    HKEY accented = Create(HKEY_LOCAL_MACHINE, "\xC3\x89t\xC3\xA9");
    HKEY other = kNullKey;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "\xC3\xA9t\xC3\xA9", KEY_READ, &other), ERROR_FILE_NOT_FOUND);
    RegCloseKey(accented);
}

TEST_F(RegistryTest, CreateReportsDispositionAndOpenFindsOnlyExistingKeys)
{
    HKEY key = kNullKey;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyEx(HKEY_USERS, ".DEFAULT\\Control Panel\\desktop", KEY_ALL_ACCESS, &key, &disposition),
        ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyEx(HKEY_USERS, ".default\\control panel\\DESKTOP", KEY_ALL_ACCESS, &key, &disposition),
        ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(key);

    HKEY missing = HKEY {1234};
    EXPECT_EQ(RegOpenKeyEx(HKEY_USERS, ".DEFAULT\\Nothing", KEY_READ, &missing), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(missing, kNullKey);
    // Each hive is its own store.
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, ".DEFAULT", KEY_READ, &missing), ERROR_FILE_NOT_FOUND);
}

struct PathCase
{
    const char* path;
    LSTATUS expected;
};

class RegistryPathRuleTest : public RegistryTest, public ::testing::WithParamInterface<PathCase>
{
};

TEST_P(RegistryPathRuleTest, MalformedPathsAreRefused)
{
    HKEY key = kNullKey;
    const LSTATUS status = RegCreateKeyEx(HKEY_LOCAL_MACHINE, GetParam().path, KEY_ALL_ACCESS, &key, nullptr);
    EXPECT_EQ(status, GetParam().expected);
    if (status == ERROR_SUCCESS) {
        RegCloseKey(key);
    }
}

const std::string kLongName(256, 'n');
const std::string kLongestName(255, 'n');

INSTANTIATE_TEST_SUITE_P(Paths, RegistryPathRuleTest,
    ::testing::Values(PathCase {"\\Software", ERROR_BAD_PATHNAME},
        PathCase {"Software\\\\Nordvale", ERROR_BAD_PATHNAME}, PathCase {"Software\\Nordvale\\", ERROR_SUCCESS},
        PathCase {kLongName.c_str(), ERROR_INVALID_PARAMETER}, PathCase {kLongestName.c_str(), ERROR_SUCCESS}));

TEST_F(RegistryTest, KeysDeeperThanTheLimitAreRefused)
{
    std::string path = "k";
    for (std::size_t i = 1; i < kMaxKeyDepth; ++i) {
        path += "\\k";
    }
    HKEY deepest = Create(HKEY_LOCAL_MACHINE, path);
    HKEY tooDeep = kNullKey;
    EXPECT_EQ(RegCreateKeyEx(deepest, "one-more", KEY_ALL_ACCESS, &tooDeep, nullptr), ERROR_INVALID_PARAMETER);
    RegCloseKey(deepest);
}

TEST_F(RegistryTest, DeletingKeysFollowsTheRulesOfNt)
{
    HKEY leaf = Create(HKEY_LOCAL_MACHINE, "Parent\\Leaf");
    ASSERT_EQ(SetText(leaf, "Name", "value"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Parent"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Parent\\LEAF"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Parent\\Leaf"), ERROR_FILE_NOT_FOUND);

    // The handle outlives its key, and says so instead of writing into nothing.
    EXPECT_EQ(SetText(leaf, "Name", "again"), ERROR_KEY_DELETED);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(leaf, "Name", nullptr, nullptr, &size), ERROR_KEY_DELETED);
    RegCloseKey(leaf);

    // A key created again under the same name is a new, empty key.
    HKEY reborn = Create(HKEY_LOCAL_MACHINE, "Parent\\Leaf");
    EXPECT_EQ(RegQueryValueEx(reborn, "Name", nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(reborn);
    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryTest, DeleteValueRemovesOnlyThatValue)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Values");
    ASSERT_EQ(SetText(key, "Keep", "k"), ERROR_SUCCESS);
    ASSERT_EQ(SetText(key, "Drop", "d"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(key, "DROP"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(key, "Drop"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ValueNames(key), std::vector<std::string> {"Keep"});
    RegCloseKey(key);
}

TEST_F(RegistryTest, EnumerationOrdersKeysByNameAndValuesByFirstWrite)
{
    HKEY root = Create(HKEY_LOCAL_MACHINE, "Enum");
    for (const char* name : {"beta", "Alpha", "gamma"}) {
        HKEY child = Create(root, name);
        RegCloseKey(child);
    }
    EXPECT_EQ(SubkeyNames(root), (std::vector<std::string> {"Alpha", "beta", "gamma"}));

    ASSERT_EQ(SetDword(root, "z", 1), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(root, "a", 2), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(root, "z", 3), ERROR_SUCCESS);
    EXPECT_EQ(ValueNames(root), (std::vector<std::string> {"z", "a"}));

    char small[3];
    DWORD size = sizeof(small);
    EXPECT_EQ(RegEnumKeyEx(root, 0, small, &size), ERROR_MORE_DATA);
    size = sizeof(small);
    EXPECT_EQ(RegEnumKeyEx(root, 3, small, &size), ERROR_NO_MORE_ITEMS);

    DWORD type = 0;
    std::uint32_t data = 0;
    DWORD dataSize = sizeof(data);
    char name[8];
    size = sizeof(name);
    ASSERT_EQ(
        RegEnumValue(root, 0, name, &size, &type, reinterpret_cast<std::uint8_t*>(&data), &dataSize), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(data, 3u);
    RegCloseKey(root);
}

TEST_F(RegistryTest, HandlesAreCheckedAndRightsEnforced)
{
    HKEY writable = Create(HKEY_LOCAL_MACHINE, "Rights");
    RegCloseKey(writable);
    HKEY readOnly = kNullKey;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Rights", KEY_READ, &readOnly), ERROR_SUCCESS);
    EXPECT_EQ(SetText(readOnly, "Name", "x"), ERROR_ACCESS_DENIED);
    HKEY child = kNullKey;
    EXPECT_EQ(RegCreateKeyEx(readOnly, "Child", KEY_ALL_ACCESS, &child, nullptr), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCloseKey(readOnly), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(readOnly), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetText(readOnly, "Name", "x"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetText(kNullKey, "Name", "x"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

TEST_F(RegistryTest, OversizedValuesAndNamesAreRefused)
{
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Limits");
    std::vector<std::uint8_t> big(kMaxValueDataSize + 1, 7);
    EXPECT_EQ(
        RegSetValueEx(key, "Big", REG_BINARY, big.data(), static_cast<DWORD>(big.size())), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(key, "Null", REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SetText(key, std::string("a\0b", 3), "x"), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(RegistryTest, WithoutAUsableRootNothingOpens)
{
    ::setenv("WARDEN_ROOT", "relative/root", 1);
    HKEY key = kNullKey;
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Any", KEY_ALL_ACCESS, &key, nullptr), ERROR_CANTOPEN);
    EXPECT_FALSE(std::filesystem::exists("relative"));
}

TEST_F(RegistryTest, ReadOnlyHiveRefusesWritesButReads)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "file modes do not bind the super-user";
    }
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Fixed");
    ASSERT_EQ(SetText(key, "Name", "before"), ERROR_SUCCESS);
    ASSERT_EQ(::chmod(HiveFile("HKEY_LOCAL_MACHINE").c_str(), 0444), 0);
    EXPECT_EQ(SetText(key, "Name", "after"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(QueryText(key, "Name"), "before");
    RegCloseKey(key);
}

// A damaged hive file never crashes a reader: every call answers with a Windows code.
class DamagedHiveTest : public RegistryTest
{
protected:
    void ExpectOnlyErrorsOrSuccess()
    {
        HKEY key = kNullKey;
        const LSTATUS opened = RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Nordvale", KEY_ALL_ACCESS, &key);
        EXPECT_TRUE(opened == ERROR_SUCCESS || opened == ERROR_BADDB || opened == ERROR_FILE_NOT_FOUND
            || opened == ERROR_CANTREAD)
            << opened;
        if (opened == ERROR_SUCCESS) {
            QueryText(key, "AppPath");
            ValueNames(key);
            SetText(key, "AppPath", "/new");
            RegCloseKey(key);
        }
    }
};

TEST_F(DamagedHiveTest, RandomBytesGiveACorruptDatabaseCode)
{
    platform_test::WriteFile(HiveFile("HKEY_LOCAL_MACHINE"), platform_test::RandomBytes(8192, 1));
    HKEY key = kNullKey;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software", KEY_READ, &key), ERROR_BADDB);
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software", KEY_ALL_ACCESS, &key, nullptr), ERROR_BADDB);
    EXPECT_EQ(SetText(HKEY_LOCAL_MACHINE, "Name", "x"), ERROR_BADDB);
    char name[16];
    DWORD size = sizeof(name);
    EXPECT_EQ(RegEnumKeyEx(HKEY_LOCAL_MACHINE, 0, name, &size), ERROR_BADDB);
    // The other hives are untouched by the damage.
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software", KEY_ALL_ACCESS, &key, nullptr), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(DamagedHiveTest, AForeignDatabaseIsNotTakenForAHive)
{
    const std::string header("SQLite format 3\0", 16);
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Software\\Nordvale");
    RegCloseKey(key);
    std::string hive = platform_test::ReadFile(HiveFile("HKEY_LOCAL_MACHINE"));
    ASSERT_EQ(hive.compare(0, header.size(), header), 0);
    // Clear the application id at offset 68: the file stays a valid database but is no longer marked as ours.
    hive.replace(68, 4, std::string(4, '\0'));
    platform_test::WriteFile(HiveFile("HKEY_LOCAL_MACHINE"), hive);
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software", KEY_READ, &key), ERROR_BADDB);
}

TEST_F(DamagedHiveTest, TruncationAtAnyOffsetIsSurvived)
{
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Software\\Nordvale");
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(SetText(key, "Value" + std::to_string(i), std::string(100, 'v')), ERROR_SUCCESS);
    }
    RegCloseKey(key);
    const std::string whole = platform_test::ReadFile(HiveFile("HKEY_LOCAL_MACHINE"));
    ASSERT_GT(whole.size(), 4096u);
    for (std::size_t length :
        {std::size_t {0}, std::size_t {1}, std::size_t {15}, std::size_t {16}, std::size_t {99}, std::size_t {100},
            std::size_t {1024}, std::size_t {4095}, std::size_t {4096}, whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE(length);
        platform_test::WriteFile(HiveFile("HKEY_LOCAL_MACHINE"), whole.substr(0, length));
        ExpectOnlyErrorsOrSuccess();
    }
}

TEST_F(DamagedHiveTest, OverwrittenPagesAreSurvived)
{
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Software\\Nordvale");
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(SetText(key, "Value" + std::to_string(i), std::string(100, 'v')), ERROR_SUCCESS);
    }
    RegCloseKey(key);
    const std::string whole = platform_test::ReadFile(HiveFile("HKEY_LOCAL_MACHINE"));
    for (unsigned seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        std::string damaged = whole;
        const std::size_t offset = (seed * 1237) % damaged.size();
        const std::string noise = platform_test::RandomBytes(std::min<std::size_t>(512, damaged.size() - offset), seed);
        damaged.replace(offset, noise.size(), noise);
        platform_test::WriteFile(HiveFile("HKEY_LOCAL_MACHINE"), damaged);
        ExpectOnlyErrorsOrSuccess();
    }
}

TEST_F(RegistryTest, TwoProcessesWritingOneHiveLoseNoWrite)
{
    constexpr int kWritesPerProcess = 150;
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Shared");
    RegCloseKey(key);
    const int failed = platform_test::RunInChildren(2, [](int index) {
        int errors = 0;
        for (int i = 0; i < kWritesPerProcess; ++i) {
            HKEY shared = kNullKey;
            // Both processes also create the same nested keys, racing on the same rows.
            const std::string path = "Shared\\Nested" + std::to_string(i % 10);
            if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, path, KEY_ALL_ACCESS, &shared, nullptr) != ERROR_SUCCESS) {
                ++errors;
                continue;
            }
            const std::string name = "p" + std::to_string(index) + "-" + std::to_string(i);
            errors += SetDword(shared, name, static_cast<std::uint32_t>(i)) != ERROR_SUCCESS;
            RegCloseKey(shared);
        }
        return errors;
    });
    ASSERT_EQ(failed, 0);

    std::size_t total = 0;
    for (int nested = 0; nested < 10; ++nested) {
        HKEY shared = kNullKey;
        ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Shared\\Nested" + std::to_string(nested), KEY_READ, &shared),
            ERROR_SUCCESS);
        total += ValueNames(shared).size();
        RegCloseKey(shared);
    }
    EXPECT_EQ(total, 2u * kWritesPerProcess);
    HKEY shared = kNullKey;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Shared", KEY_READ, &shared), ERROR_SUCCESS);
    EXPECT_EQ(SubkeyNames(shared).size(), 10u);
    RegCloseKey(shared);
}

TEST(SystemErrorTextTest, NamesKnownCodesAndAdmitsUnknownOnes)
{
    EXPECT_EQ(SystemErrorText(ERROR_NO_MORE_ITEMS), "No more data is available.");
    EXPECT_EQ(SystemErrorText(ERROR_BADDB), "The configuration registry database is corrupt.");
    EXPECT_EQ(SystemErrorText(424242), "Unknown error 424242.");
}

} // namespace
