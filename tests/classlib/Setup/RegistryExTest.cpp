#include "../SystemTestRoot.h"

#include "Setup/RegistryEx.h"

#include <fstream>

using namespace platform;

namespace {

class RegistryExTest : public system_test::FreshSystemTest
{
protected:
    // A writable key "Software\Test" under the local machine, as the current key of `registry`.
    static void OpenTestKey(CRegistryEx& registry)
    {
        ASSERT_EQ(registry.CreateKey(HKEY_LOCAL_MACHINE, "Software\\Test"), 1);
    }

    static std::vector<std::uint8_t> Stored(const std::string& name)
    {
        CRegistryEx registry;
        std::vector<std::uint8_t> data(65536);
        EXPECT_EQ(registry.VerifyKey(HKEY_LOCAL_MACHINE, "Software\\Test"), 1);
        EXPECT_EQ(registry.Read(name, data.data(), static_cast<DWORD>(data.size())), 1);
        data.resize(registry.GetLastSize());
        return data;
    }
};

TEST_F(RegistryExTest, AnOverlongTextFailsAndLeavesTheTextAlone)
{
    CRegistryEx registry;
    OpenTestKey(registry);
    ASSERT_EQ(registry.Write("Long", std::string(299, 'x')), 1);
    std::string text = "unchanged";
    EXPECT_EQ(registry.Read("Long", text), 0);
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(registry.GetLastResult(), ERROR_MORE_DATA);
    EXPECT_EQ(registry.GetLastSize(), 300u);

    // 199 bytes and the terminator fill the 200-byte limit exactly.
    ASSERT_EQ(registry.Write("Fits", std::string(199, 'y')), 1);
    EXPECT_EQ(registry.Read("Fits", text), 1);
    EXPECT_EQ(text, std::string(199, 'y'));
}

TEST_F(RegistryExTest, ARectangleRoundTripsIn22Bytes)
{
    CRegistryEx registry;
    OpenTestKey(registry);
    const RECT rect {-10, 20, 300, 400};
    ASSERT_EQ(registry.Write("Rect", rect), 1);
    EXPECT_EQ(registry.GetLastType(), REG_BINARY);
    const std::vector<std::uint8_t> expected {
        5, 0, 20, 0, 0, 0, 144, 1, 0, 0, 246, 255, 255, 255, 44, 1, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Stored("Rect"), expected);
    RECT read {};
    ASSERT_EQ(registry.Read("Rect", read), 1);
    EXPECT_EQ(read, rect);

    const POINT point {-5, 7};
    ASSERT_EQ(registry.Write("Point", point), 1);
    EXPECT_EQ(Stored("Point"),
        (std::vector<std::uint8_t> {5, 0, 251, 255, 255, 255, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    POINT readPoint {};
    ASSERT_EQ(registry.Read("Point", readPoint), 1);
    EXPECT_EQ(readPoint, point);

    // Four elements are not a rectangle.
    ASSERT_EQ(registry.Write("Four", std::vector<std::uint32_t> {1, 2, 3, 4}), 1);
    RECT untouched {1, 1, 1, 1};
    EXPECT_EQ(registry.Read("Four", untouched), 0);
    EXPECT_EQ(registry.GetLastResult(), ERROR_INVALID_DATA);
    EXPECT_EQ(untouched, (RECT {1, 1, 1, 1}));
}

TEST_F(RegistryExTest, CollectionsRoundTripAndReplaceWhatWasThere)
{
    CRegistryEx registry;
    OpenTestKey(registry);
    const std::vector<std::string> texts {
        "", "one", std::string(254, 'a'), std::string(255, 'b'), std::string(70000, 'c')};
    ASSERT_EQ(registry.Write("Texts", texts), 1);
    std::vector<std::string> readTexts {"old"};
    ASSERT_EQ(registry.Read("Texts", readTexts), 1);
    EXPECT_EQ(readTexts, texts);

    const std::list<std::string> list {"x", "y"};
    ASSERT_EQ(registry.Write("List", list), 1);
    std::list<std::string> readList {"stale", "entries"};
    ASSERT_EQ(registry.Read("List", readList), 1);
    EXPECT_EQ(readList, list);

    const std::vector<std::uint8_t> bytes {0, 1, 255};
    const std::vector<std::uint16_t> words {0, 0xFFFF, 0x1234};
    const std::vector<std::uint32_t> dwords(5000, 0xA5A5A5A5);
    ASSERT_EQ(registry.Write("Bytes", bytes), 1);
    ASSERT_EQ(registry.Write("Words", words), 1);
    ASSERT_EQ(registry.Write("Dwords", dwords), 1);
    std::vector<std::uint8_t> readBytes;
    std::vector<std::uint16_t> readWords;
    std::vector<std::uint32_t> readDwords {1};
    ASSERT_EQ(registry.Read("Bytes", readBytes), 1);
    ASSERT_EQ(registry.Read("Words", readWords), 1);
    // 20002 bytes: larger than the 4096-byte read buffer, still read back whole.
    ASSERT_EQ(registry.Read("Dwords", readDwords), 1);
    EXPECT_EQ(readBytes, bytes);
    EXPECT_EQ(readWords, words);
    EXPECT_EQ(readDwords, dwords);
    EXPECT_EQ(Stored("Words"), (std::vector<std::uint8_t> {3, 0, 0, 0, 0xFF, 0xFF, 0x34, 0x12}));
}

TEST_F(RegistryExTest, CollectionReadsRefuseOtherTypesAndBrokenLayouts)
{
    CRegistryEx registry;
    OpenTestKey(registry);
    ASSERT_EQ(registry.Write("Text", std::string("abc")), 1);
    std::vector<std::string> texts {"keep"};
    EXPECT_EQ(registry.Read("Text", texts), 0);
    EXPECT_EQ(registry.GetLastResult(), ERROR_INVALID_DATA);
    EXPECT_EQ(registry.GetLastType(), REG_SZ);
    EXPECT_EQ(texts, std::vector<std::string> {"keep"});

    // A count of 200 texts with only three bytes after it.
    const std::uint8_t broken[] = {200, 0, 1, 'a', 1};
    HKEY key = kNullKey;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Test", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(key, "Broken", REG_BINARY, broken, sizeof(broken)), ERROR_SUCCESS);
    RegCloseKey(key);
    std::list<std::string> list {"keep"};
    EXPECT_EQ(registry.Read("Broken", list), 0);
    EXPECT_EQ(registry.GetLastResult(), ERROR_INVALID_DATA);
    EXPECT_EQ(list, std::list<std::string> {"keep"});
}

TEST_F(RegistryExTest, NumbersAreThirtyTwoBitValues)
{
    CRegistryEx registry;
    OpenTestKey(registry);
    ASSERT_EQ(registry.Write("Negative", -2), 1);
    EXPECT_EQ(registry.GetLastType(), REG_DWORD);
    EXPECT_EQ(registry.GetLastSize(), 4u);
    int value = 0;
    ASSERT_EQ(registry.Read("Negative", value), 1);
    EXPECT_EQ(value, -2);
    ASSERT_EQ(registry.Write("Max", 0xFFFFFFFFul), 1);
    EXPECT_EQ(registry.Write("TooBig", 0x100000000ul), 0);
    EXPECT_EQ(registry.GetLastResult(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(registry.VerifyValue("TooBig"), 0);

    ASSERT_EQ(registry.Write("Text", std::string("abc")), 1);
    value = 7;
    EXPECT_EQ(registry.Read("Text", value), 0);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(registry.Read("Missing", value), 0);
    EXPECT_EQ(registry.GetLastResult(), ERROR_FILE_NOT_FOUND);
    std::string text = "kept";
    EXPECT_EQ(registry.Read("Max", text), 0);
    EXPECT_EQ(text, "kept");
}

TEST_F(RegistryExTest, VerifyKeyMovesTheCurrentKeyOnlyOnSuccess)
{
    CRegistryEx setup;
    ASSERT_EQ(setup.CreateKey(HKEY_LOCAL_MACHINE, "Software\\Nordvale\\DeskWarden\\Program"), 1);
    ASSERT_EQ(setup.Write("AppPath", std::string("/opt/warden")), 1);

    CRegistryEx registry;
    EXPECT_EQ(registry.GetCurrentKey(), HKEY_LOCAL_MACHINE);
    ASSERT_EQ(registry.VerifyKey("Software\\Nordvale"), 1);
    EXPECT_EQ(registry.VerifyValue("AppPath"), 0);
    EXPECT_EQ(registry.VerifyKey("Missing"), 0);
    EXPECT_EQ(registry.GetLastResult(), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(registry.VerifyKey("DeskWarden\\Program"), 1);
    EXPECT_EQ(registry.VerifyValue("AppPath"), 1);
    EXPECT_EQ(registry.GetLastType(), REG_SZ);
    EXPECT_EQ(registry.GetLastSize(), 12u);

    ASSERT_EQ(registry.Open(HKEY_LOCAL_MACHINE, "Software\\Nordvale\\DeskWarden\\Program"), 1);
    EXPECT_EQ(registry.GetOpenedPath(), "Software\\Nordvale\\DeskWarden\\Program");
    std::string path;
    ASSERT_EQ(registry.Read("AppPath", path), 1);
    EXPECT_EQ(path, "/opt/warden");
    registry.Close();
    EXPECT_EQ(registry.Write("AppPath", std::string("/elsewhere")), 0);
    EXPECT_EQ(registry.GetLastResult(), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryExTest, ListKeyAndListValuesReplaceTheArray)
{
    CRegistryEx registry;
    ASSERT_EQ(registry.CreateKey(HKEY_LOCAL_MACHINE, "Software\\List\\Leaf"), 1);
    ASSERT_EQ(registry.CreateKey(HKEY_LOCAL_MACHINE, "Software\\List\\Branch"), 1);
    ASSERT_EQ(registry.Write("First", 1), 1);
    ASSERT_EQ(registry.Write("Second", 2), 1);

    CRegistryEx reader;
    std::vector<std::string> names {"stale"};
    ASSERT_EQ(reader.ListKey("Software\\List", names), 1);
    EXPECT_EQ(names, (std::vector<std::string> {"Branch", "Leaf"}));
    ASSERT_EQ(reader.ListKey("Software\\List\\Leaf", names), 1);
    EXPECT_TRUE(names.empty());
    ASSERT_EQ(reader.ListValues("Software\\List\\Branch", names), 1);
    EXPECT_EQ(names, (std::vector<std::string> {"First", "Second"}));
    EXPECT_EQ(reader.ListKey("Software\\Nothing", names), 0);
    EXPECT_EQ(reader.GetLastResult(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RegistryExTest, AnEnumerationErrorIsShownWithItsSourceLine)
{
    CRegistryEx registry;
    ASSERT_EQ(registry.CreateKey(HKEY_LOCAL_MACHINE, "Software\\Names\\" + std::string(200, 'k')), 1);
    ASSERT_EQ(registry.CreateKey(HKEY_LOCAL_MACHINE, "Software\\Names\\" + std::string(201, 'l')), 1);
    ASSERT_EQ(registry.Write(std::string(201, 'v'), 1), 1);

    CRegistryEx reader;
    std::vector<std::string> names;
    EXPECT_EQ(reader.ListKey("Software\\Names", names), 0);
    EXPECT_EQ(names, std::vector<std::string> {std::string(200, 'k')});
    EXPECT_EQ(reader.GetLastResult(), ERROR_MORE_DATA);
    EXPECT_EQ(reader.ListValues("Software\\Names\\" + std::string(201, 'l'), names), 0);
    EXPECT_TRUE(names.empty());

    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].caption, "More data is available.");
    EXPECT_EQ(Messages()[0].text, "234 RegEnumKeyEx\nSetup\\RegistryEx 998");
    EXPECT_EQ(Messages()[0].icon, MessageIcon::Information);
    EXPECT_EQ(Messages()[1].text, "234 RegEnumValue\nSetup\\RegistryEx 1073");
}

TEST_F(RegistryExTest, FindKeySearchesDepthFirstWithoutRegardToCase)
{
    CRegistryEx registry;
    ASSERT_EQ(registry.CreateKey(HKEY_LOCAL_MACHINE, "Software\\Apps\\A\\Deep"), 1);
    ASSERT_EQ(registry.Write("Name", std::string("Target")), 1);
    ASSERT_EQ(registry.CreateKey(HKEY_LOCAL_MACHINE, "Software\\Apps\\B"), 1);
    ASSERT_EQ(registry.Write("Name", std::string("target")), 1);
    ASSERT_EQ(registry.CreateKey(HKEY_LOCAL_MACHINE, "Software\\Apps\\A"), 1);
    ASSERT_EQ(registry.Write("Name", 5), 1);

    CRegistryEx finder;
    EXPECT_EQ(finder.FindKey("Software\\Apps", "Name", "TARGET"), "Software\\Apps\\A\\Deep");
    EXPECT_EQ(finder.FindKey("Software\\Apps\\B", "Name", "target"), "");
    EXPECT_EQ(finder.FindKey("Software\\Apps", "Name", "nothing"), "");
    EXPECT_EQ(finder.FindKey("Software\\Missing", "Name", "target"), "");
    EXPECT_EQ(finder.GetLastResult(), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryExTest, DeletingValuesAndKeys)
{
    CRegistryEx registry;
    OpenTestKey(registry);
    ASSERT_EQ(registry.Write("Gone", 1), 1);
    EXPECT_EQ(registry.DeleteValue("Gone"), 1);
    EXPECT_EQ(registry.VerifyValue("Gone"), 0);
    EXPECT_EQ(registry.DeleteValue("Gone"), 0);
    registry.Close();
    EXPECT_EQ(registry.DeleteValueKey(HKEY_LOCAL_MACHINE, "Software"), 0);
    EXPECT_EQ(registry.GetLastResult(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(registry.DeleteValueKey(HKEY_LOCAL_MACHINE, "Software\\Test"), 1);
    EXPECT_EQ(registry.VerifyKey(HKEY_LOCAL_MACHINE, "Software\\Test"), 0);
}

TEST_F(RegistryExTest, ADamagedHiveFailsWithACode)
{
    std::filesystem::create_directories(Root() / "registry");
    std::ofstream(Root() / "registry" / "HKEY_LOCAL_MACHINE.db", std::ios::binary) << std::string(5000, '\x5A');
    CRegistryEx registry;
    EXPECT_EQ(registry.CreateKey(HKEY_LOCAL_MACHINE, "Software\\Test"), 0);
    EXPECT_EQ(registry.GetLastResult(), ERROR_BADDB);
    std::vector<std::string> names;
    EXPECT_EQ(registry.ListKey("", names), 0);
    EXPECT_EQ(registry.FindKey("", "Name", "x"), "");
}

} // namespace
