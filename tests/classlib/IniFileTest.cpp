#include "IniFile.h"

#include "StoreTestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

using store_test::ReadBytes;
using store_test::WriteBytes;

class IniFileTest : public store_test::FreshRootTest
{
protected:
    std::string IniPath() const { return Path("halvox.ini"); }
};

TEST_F(IniFileTest, MissingFileReadsDefaultsAndFirstWriteCreatesIt)
{
    CIniFile ini(IniPath());
    EXPECT_EQ(ini.ReadString("S", "k", "dflt"), "dflt");
    std::vector<std::string> names {"stale"};
    EXPECT_EQ(ini.ReadSections(names), 0);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(ini.WriteString("S", "k", "v"), 1);
    EXPECT_EQ(ReadBytes(IniPath()), "[S]\nk=v\n");
    EXPECT_EQ(CIniFile(ini).ReadString("s", "K", ""), "v");
}

TEST_F(IniFileTest, LongValuesAreCutAtACharacterBoundary)
{
    CIniFile ini(IniPath());
    const std::string ascii(3000, 'a');
    ASSERT_EQ(ini.WriteString("S", "ascii", ascii), 1);
    EXPECT_EQ(ini.ReadString("S", "ascii", ""), ascii.substr(0, CIniFile::kMaxValueBytes));
    std::string wide;
    for (int i = 0; i < 700; ++i) {
        wide += "語"; // three bytes each: 2047 falls inside a character
    }
    ASSERT_EQ(ini.WriteString("S", "wide", wide), 1);
    const std::string read = ini.ReadString("S", "wide", "");
    EXPECT_EQ(read.size(), 2046u);
    EXPECT_EQ(read, wide.substr(0, 2046));
}

TEST_F(IniFileTest, RefusedWriteLeavesTheFileAndExplains)
{
    CIniFile ini(IniPath());
    ASSERT_EQ(ini.WriteString("S", "k", "v"), 1);
    EXPECT_EQ(ini.WriteString("S", "k", "line\nbreak"), 0);
    EXPECT_FALSE(ini.GetLastErrorText().empty());
    EXPECT_EQ(ReadBytes(IniPath()), "[S]\nk=v\n");
}

TEST_F(IniFileTest, WriteFailsCleanlyWhenTheFolderIsMissing)
{
    CIniFile ini(Path("gone/halvox.ini"));
    EXPECT_EQ(ini.WriteString("S", "k", "v"), 0);
    EXPECT_FALSE(ini.GetLastErrorText().empty());
    EXPECT_EQ(ini.ReadString("S", "k", "d"), "d");
}

TEST_F(IniFileTest, NameListsStopWhereTheirBufferWouldOverflow)
{
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        text += "[section" + std::to_string(1000 + i) + "]\n"; // 11 name bytes + 1 separator each
    }
    WriteBytes(IniPath(), text);
    std::vector<std::string> names;
    EXPECT_EQ(CIniFile(IniPath()).ReadSections(names), 1);
    EXPECT_EQ(names.size(), (CIniFile::kNameListBytes - 1) / 12);
    EXPECT_EQ(names.front(), "section1000");
}

TEST_F(IniFileTest, DeleteKeyAndSectionKeepTheRest)
{
    WriteBytes(IniPath(), "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
    CIniFile ini(IniPath());
    EXPECT_EQ(ini.DeleteKey("a", "X"), 1);
    EXPECT_EQ(ini.DeleteSection("b"), 1);
    EXPECT_EQ(ReadBytes(IniPath()), "[A]\r\ny=2\r\n\r\n");
    std::vector<std::string> keys;
    EXPECT_EQ(ini.ReadSection("B", keys), 0);
}

TEST_F(IniFileTest, TwoProcessesWritingAtOnceLoseNoWrite)
{
    constexpr int kWritesPerProcess = 150;
    const std::string path = IniPath();
    pid_t children[2];
    for (int p = 0; p < 2; ++p) {
        children[p] = ::fork();
        ASSERT_GE(children[p], 0);
        if (children[p] == 0) {
            CIniFile ini(path);
            int failures = 0;
            for (int i = 0; i < kWritesPerProcess; ++i) {
                failures
                    += ini.WriteString("P" + std::to_string(p), "k" + std::to_string(i), std::to_string(i)) ? 0 : 1;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    CIniFile ini(path);
    for (int p = 0; p < 2; ++p) {
        std::vector<std::string> keys;
        ini.ReadSection("P" + std::to_string(p), keys);
        EXPECT_EQ(keys.size(), static_cast<std::size_t>(kWritesPerProcess)) << p;
    }
}

} // namespace
