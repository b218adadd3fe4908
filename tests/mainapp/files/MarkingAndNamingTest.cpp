#include "files/BundleNaming.h"
#include "files/Marking.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace deskwarden::test {
namespace {

using namespace deskwarden::files;
namespace fs = std::filesystem;

class Marking : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "marking-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        fs::create_directories(m_folder / "deep/er");
        for (const char* name : {"deep/er/a.txt", "deep/b.txt", "c.txt"})
            std::ofstream(m_folder / name) << name;
        m_list.AddAll({P("deep/er/a.txt"), P("deep/b.txt"), P("c.txt")});
    }
    void TearDown() override { fs::remove_all(m_folder); }
    std::string P(const char* name) const { return (m_folder / name).string(); }

    fs::path m_folder;
    FileList m_list;
};

TEST_F(Marking, AllRowsAreMarkedAndTheShallowestPathRemembered)
{
    const MarkResult result = MarkRows(m_list, false, {});
    EXPECT_EQ(result.marked, 3);
    EXPECT_EQ(result.shortestParentPath, P("c.txt"));
    EXPECT_EQ(MarkedPaths(m_list).size(), 3U);
}

TEST_F(Marking, OnlyTheSelectedRowsAndVanishedOnesAreDropped)
{
    // Rows sort by name: a.txt, b.txt, c.txt.
    fs::remove(P("c.txt"));
    const MarkResult result = MarkRows(m_list, true, {0, 2});
    EXPECT_EQ(result.marked, 1) << "the selected c.txt is gone";
    EXPECT_EQ(MarkedPaths(m_list), (std::vector<std::string> {P("deep/er/a.txt")}));
    EXPECT_EQ(m_list.Rows().size(), 2U);
    EXPECT_FALSE(m_list.Rows()[1].marked) << "b.txt was not selected";
}

TEST_F(Marking, NothingMarkedWhenEveryRowVanished)
{
    fs::remove_all(m_folder / "deep");
    fs::remove(P("c.txt"));
    EXPECT_EQ(MarkRows(m_list, false, {}).marked, 0);
    EXPECT_TRUE(m_list.Rows().empty());
}

TEST(BundleName, TheParentFolderNamesTheBundleWithAFreeSuffix)
{
    std::set<std::string> taken;
    const auto exists = [&](const std::string& path) { return taken.count(path) != 0; };
    EXPECT_EQ(DefaultBundleName("/data/docs/a.txt", exists), "/data/docs/docs.wdv");
    taken = {"/data/docs/docs.wdv"};
    EXPECT_EQ(DefaultBundleName("/data/docs/a.txt", exists), "/data/docs/docs_0.wdv");
    taken = {"/data/docs/docs.wdv", "/data/docs/docs_0.wdv", "/data/docs/docs_1.wdv"};
    EXPECT_EQ(DefaultBundleName("/data/docs/a.txt", exists), "/data/docs/docs_2.wdv");
    EXPECT_EQ(DefaultBundleName("/media/usb/a.txt", exists), "/media/usb/usb.wdv") << "a drive's root";
    EXPECT_EQ(DefaultBundleName("/a.txt", exists), "/bundle.wdv") << "the root has no name of its own";
}

TEST(BundleName, AChosenNameWithoutADotGetsTheExtension)
{
    EXPECT_EQ(WithBundleExtension("/tmp/mine"), "/tmp/mine.wdv");
    EXPECT_EQ(WithBundleExtension("/tmp/mine.bin"), "/tmp/mine.bin");
}

TEST(DecryptionFolder, IsTheBundleWithoutItsExtensionOrInTheSecureFolder)
{
    EXPECT_EQ(DecryptionFolder("/data/docs/docs.wdv", 0, "/secure"), "/data/docs/docs");
    EXPECT_EQ(DecryptionFolder("/data/docs/docs.v2.wdv", 0, "/secure"), "/data/docs/docs.v2");
    EXPECT_EQ(DecryptionFolder("/data/docs/docs.wdv", 1, "/secure"), "/secure/docs");
    EXPECT_EQ(DecryptionFolder("/data/docs/noext", 0, "/secure"), "") << "skipped";
    EXPECT_EQ(DecryptionFolder("/data/docs/.wdv", 0, "/secure"), "") << "it would unpack among the bundle's neighbours";
}

} // namespace
} // namespace deskwarden::test
