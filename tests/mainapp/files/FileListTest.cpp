#include "files/FileList.h"
#include "files/ListCommands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace deskwarden::test {
namespace {

using namespace deskwarden::files;
namespace fs = std::filesystem;

class FileListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "file-list-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string MakeFile(const std::string& relative, std::size_t bytes, int ageSeconds = 0)
    {
        const fs::path path = m_folder / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(ageSeconds));
        return path.string();
    }
    std::string MakeFolder(const std::string& relative)
    {
        fs::create_directories(m_folder / relative);
        return (m_folder / relative).string();
    }
    static std::vector<std::string> Names(const FileList& list)
    {
        std::vector<std::string> names;
        for (const FileItem& row : list.Rows())
            names.push_back(row.name);
        return names;
    }

    fs::path m_folder;
};

TEST_F(FileListTest, ANameIsListedOnceWhateverItsFolderOrCase)
{
    FileList list;
    EXPECT_TRUE(list.Add(MakeFile("a/report.doc", 10)));
    EXPECT_FALSE(list.Add(MakeFile("b/REPORT.DOC", 20))) << "a bundle keeps its entries by name";
    EXPECT_FALSE(list.Add((m_folder / "missing.txt").string()));
    EXPECT_FALSE(list.Add(""));
    ASSERT_EQ(list.Rows().size(), 1U);
    EXPECT_EQ(list.Rows()[0].fullPath, (m_folder / "a/report.doc").string());
    EXPECT_EQ(list.Rows()[0].size, 10U);
}

TEST_F(FileListTest, AFolderIsNamedByItsLastComponentEvenWithATrailingSlash)
{
    FileList list;
    const std::string folder = MakeFolder("photos");
    EXPECT_EQ(list.AddAll({folder + "/"}), 1);
    ASSERT_EQ(list.Rows().size(), 1U);
    EXPECT_EQ(list.Rows()[0].name, "photos");
    EXPECT_TRUE(list.Rows()[0].isFolder);
    EXPECT_EQ(SizeText(list.Rows()[0]), "");
}

TEST(SizeColumn, KilobytesRoundUpWithAtLeastOneAndGroupedDigits)
{
    FileItem item;
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0, "1 KB"}, {1, "1 KB"}, {1024, "1 KB"}, {1025, "2 KB"}, {1048577, "1,025 KB"}, {UINT32_MAX, "4,194,304 KB"}};
    for (const auto& [bytes, text] : cases) {
        item.size = bytes;
        EXPECT_EQ(SizeText(item), text) << bytes;
    }
}

TEST(DateColumn, ShowsMinutesInLocalTime)
{
    FileItem item;
    std::tm local {};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 5;
    local.tm_hour = 9;
    local.tm_min = 7;
    local.tm_sec = 59;
    local.tm_isdst = -1;
    item.lastWrite = std::mktime(&local);
    EXPECT_EQ(DateText(item), "2026-03-05 09:07");
}

TEST_F(FileListTest, FoldersComeFirstInEitherDirection)
{
    FileList list;
    list.AddAll({MakeFile("b.txt", 1), MakeFolder("z-folder"), MakeFile("a.txt", 1), MakeFolder("y-folder")});
    EXPECT_EQ(Names(list), (std::vector<std::string> {"y-folder", "z-folder", "a.txt", "b.txt"}));
    list.ClickHeader(Column::Name);
    EXPECT_FALSE(list.SortAscending()) << "a second click on the same column turns the order round";
    EXPECT_EQ(Names(list), (std::vector<std::string> {"z-folder", "y-folder", "b.txt", "a.txt"}));
    list.ClickHeader(Column::Name);
    EXPECT_TRUE(list.SortAscending());
}

TEST_F(FileListTest, SizeAndDateColumnsSortByValueTheNewestFirstWhenAscending)
{
    FileList list;
    list.AddAll({MakeFile("big.txt", 5000, 300), MakeFile("small.txt", 10, 100), MakeFile("middle.txt", 2000, 200)});
    list.ClickHeader(Column::Size);
    EXPECT_TRUE(list.SortAscending()) << "another column starts ascending";
    EXPECT_EQ(Names(list), (std::vector<std::string> {"small.txt", "middle.txt", "big.txt"}));
    list.ClickHeader(Column::Date);
    EXPECT_EQ(Names(list), (std::vector<std::string> {"small.txt", "middle.txt", "big.txt"}));
    list.ClickHeader(Column::Date);
    EXPECT_EQ(Names(list), (std::vector<std::string> {"big.txt", "middle.txt", "small.txt"}));
}

TEST_F(FileListTest, AddingSortsAgainByTheCurrentColumn)
{
    FileList list;
    list.AddAll({MakeFile("m.txt", 1)});
    list.ClickHeader(Column::Name); // the name column again: descending
    list.AddAll({MakeFile("a.txt", 1), MakeFile("z.txt", 1)});
    EXPECT_EQ(Names(list), (std::vector<std::string> {"z.txt", "m.txt", "a.txt"}));
}

TEST_F(FileListTest, RemovingRowsIgnoresRepeatsAndIndexesOutOfRange)
{
    FileList list;
    list.AddAll({MakeFile("a.txt", 1), MakeFile("b.txt", 1), MakeFile("c.txt", 1)});
    list.RemoveRows({2, 0, 2, 7});
    EXPECT_EQ(Names(list), (std::vector<std::string> {"b.txt"}));
    list.Clear();
    EXPECT_TRUE(list.Rows().empty());
}

TEST(ChosenFolders, TheRootOfTheFileSystemIsNotListed)
{
    EXPECT_FALSE(IsAddableFolder("/"));
    EXPECT_FALSE(IsAddableFolder("//"));
    EXPECT_FALSE(IsAddableFolder(""));
    EXPECT_FALSE(IsAddableFolder(nullptr));
    EXPECT_TRUE(IsAddableFolder("/home"));
    EXPECT_TRUE(IsAddableFolder("/media/usb/docs"));
}

} // namespace
} // namespace deskwarden::test
