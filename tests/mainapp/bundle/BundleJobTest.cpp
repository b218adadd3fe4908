#include "BundleTestSupport.h"

#include "bundle/BundleReader.h"
#include "bundle/BundleTexts.h"

#include <algorithm>

namespace deskwarden::test {
namespace {

using namespace deskwarden::bundle;

std::vector<RecordInfo> Records(const std::string& bundlePath)
{
    BundleReader reader;
    std::string error;
    std::vector<RecordInfo> records;
    EXPECT_TRUE(reader.Open(bundlePath, error)) << error;
    for (RecordInfo record; reader.Next(record, error);) {
        records.push_back(record);
    }
    EXPECT_EQ(error, "");
    return records;
}

class BundleJobs : public BundleFolderTest
{
protected:
    /** Two folders of three files each, and a loose file. */
    void MakeTree()
    {
        for (const char* folder : {"src/one", "src/two"}) {
            for (const char* file : {"a.txt", "b.bin", "c"}) {
                Write(std::string(folder) + "/" + file, std::string(folder) + file + std::string(5000, 'z'));
            }
        }
        Write("src/loose.txt", "loose");
    }
    std::vector<std::string> Marked() const { return {Path("src/loose.txt"), Path("src/one"), Path("src/two")}; }
};

TEST_F(BundleJobs, FolderRecordsComeFirstAndCountersMatchTheRecords)
{
    MakeTree();
    ASSERT_EQ(Pack(Marked(), Path("b.wdv")), kJobSucceeded) << lastError;
    const auto records = Records(Path("b.wdv"));
    ASSERT_EQ(records.size(), 9u);
    EXPECT_TRUE(records[0].isFolder && records[1].isFolder);
    EXPECT_EQ(records[0].name, "/one");
    EXPECT_EQ(records[1].name, "/two");
    EXPECT_TRUE(std::none_of(records.begin() + 2, records.end(), [](const auto& r) { return r.isFolder; }));
    EXPECT_EQ(records[2].name, "/loose.txt");
    EXPECT_EQ(records[3].name, "/one/a.txt");

    BundleHeader header;
    std::string error;
    ASSERT_TRUE(ReadHeader(Path("b.wdv"), header, error)) << error;
    EXPECT_EQ(header.version, "0100");
    EXPECT_EQ(header.values, Owner());
    EXPECT_EQ(header.fileCount, 7u);
    EXPECT_EQ(header.folderCount, 2u);
    std::uint64_t plain = 0;
    std::uint64_t stored = 0;
    for (const auto& r : records) {
        plain += r.plainSize;
        stored += r.storedSize;
    }
    EXPECT_EQ(header.totalPlainBytes, plain);
    EXPECT_EQ(header.totalStoredBytes, stored);
    std::uint64_t onDisk = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root / "src")) {
        onDisk += entry.is_regular_file() ? entry.file_size() : 0;
    }
    EXPECT_EQ(plain, onDisk);
}

TEST_F(BundleJobs, UnpackGivesBackEveryFileWhateverTheThreadCount)
{
    MakeTree();
    ASSERT_EQ(Pack(Marked(), Path("b.wdv"), 1), kJobSucceeded) << lastError;
    ASSERT_EQ(Unpack(Path("b.wdv"), Path("out"), 3), kJobSucceeded) << lastError;
    for (const char* file : {"one/a.txt", "one/b.bin", "one/c", "two/c", "loose.txt"}) {
        EXPECT_EQ(Read(root / "out" / file), Read(root / "src" / file)) << file;
    }
    EXPECT_EQ(Listing(root / "out").size(), 9u); // no temporary file left beside the targets
    EXPECT_TRUE(fs::is_empty(root / "tmp"));
    EXPECT_EQ(observer.ended, (std::vector<int> {kJobSucceeded, kJobSucceeded}));
    EXPECT_EQ(observer.overallDone, observer.overallTotal);
}

TEST_F(BundleJobs, VanishedFolderLeavesNoRecord)
{
    MakeTree();
    fs::create_directories(root / "src/gone");
    std::vector<std::string> marked = Marked();
    marked.insert(marked.begin(), Path("src/gone"));
    marked.push_back(Path("src/never-there.txt"));
    // The folder is listed first, then goes before the records are written: the stop question after the
    // first marked path is the moment.
    struct VanishingObserver : RecordingObserver
    {
        fs::path gone;
        bool AskStop(const std::string&) override
        {
            fs::remove(gone);
            return false;
        }
    } vanishing;
    vanishing.gone = root / "src/gone";
    continueFlag = 0;
    BundleJob job(EncryptRequest {marked, Path("b.wdv"), false, Owner(), Path("tmp")}, vanishing, continueFlag);
    ASSERT_EQ(job.Run(), kJobSucceeded) << job.ErrorText();
    const auto records = Records(Path("b.wdv"));
    EXPECT_EQ(records.size(), 9u);
    BundleHeader header;
    std::string error;
    ASSERT_TRUE(ReadHeader(Path("b.wdv"), header, error));
    EXPECT_EQ(header.folderCount, 2u);
    EXPECT_EQ(header.fileCount, 7u);
}

TEST_F(BundleJobs, StopConfirmedLeavesNeitherBundleNorOutput)
{
    MakeTree();
    continueFlag = 0;
    observer.stop = true;
    EXPECT_EQ(Pack(Marked(), Path("b.wdv")), kJobStopped);
    EXPECT_FALSE(fs::exists(root / "b.wdv"));
    std::vector<std::string> top;
    for (const auto& entry : fs::directory_iterator(root)) {
        top.push_back(entry.path().filename().string());
    }
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::string> {"out", "src", "tmp"}));
    EXPECT_TRUE(fs::is_empty(root / "tmp"));

    continueFlag = 1;
    ASSERT_EQ(Pack(Marked(), Path("b.wdv")), kJobSucceeded);
    continueFlag = 0;
    EXPECT_EQ(Unpack(Path("b.wdv"), Path("out")), kJobStopped);
    for (const auto& path : Listing(root / "out")) {
        EXPECT_TRUE(fs::is_directory(root / "out" / path)) << path;
    }
}

TEST_F(BundleJobs, StopDeclinedFinishesTheJobAndAsksOnce)
{
    MakeTree();
    continueFlag = 0;
    observer.stop = false;
    EXPECT_EQ(Pack(Marked(), Path("b.wdv"), 3), kJobSucceeded) << lastError;
    EXPECT_EQ(observer.stopQuestions, 1);
    EXPECT_EQ(continueFlag.load(), 1);
}

TEST_F(BundleJobs, ExistingBundleIsKeptUnlessTheUserAgrees)
{
    MakeTree();
    Write("b.wdv", "old");
    observer.overwrite = false;
    EXPECT_EQ(Pack(Marked(), Path("b.wdv")), kJobFailed);
    EXPECT_EQ(Read(root / "b.wdv"), "old");
    observer.overwrite = true;
    EXPECT_EQ(Pack(Marked(), Path("b.wdv")), kJobSucceeded);
    EXPECT_EQ(Records(Path("b.wdv")).size(), 9u);
}

TEST_F(BundleJobs, ExistingOutputIsReplacedOnlyWhenTheUserAgrees)
{
    Write("src/a.txt", "new");
    ASSERT_EQ(Pack({Path("src/a.txt")}, Path("b.wdv")), kJobSucceeded);
    Write("out/a.txt", "mine");
    observer.overwrite = false;
    EXPECT_EQ(Unpack(Path("b.wdv"), Path("out")), kJobSucceeded);
    EXPECT_EQ(Read(root / "out/a.txt"), "mine");
    observer.overwrite = true;
    EXPECT_EQ(Unpack(Path("b.wdv"), Path("out")), kJobSucceeded);
    EXPECT_EQ(Read(root / "out/a.txt"), "new");
    EXPECT_EQ(observer.overwriteQuestions, 2);
}

TEST_F(BundleJobs, DeletingSourcesRemovesWhatWasPackedOnly)
{
    MakeTree();
    ASSERT_EQ(Pack(Marked(), Path("b.wdv"), 2, true), kJobSucceeded) << lastError;
    EXPECT_TRUE(fs::is_empty(root / "src"));
    EXPECT_NE(std::find(observer.phases.begin(), observer.phases.end(), kDeletingSources), observer.phases.end());
}

TEST_F(BundleJobs, HeaderValuesThatCannotBeKeptFailTheJob)
{
    Write("src/a.txt", "a");
    BundleJob job(EncryptRequest {{Path("src/a.txt")}, Path("b.wdv"), false, {"a*b", {"alice", "k"}, {}}, Path("tmp")},
        observer, continueFlag);
    EXPECT_EQ(job.Run(), kJobFailed);
    EXPECT_FALSE(job.ErrorText().empty());
    EXPECT_FALSE(fs::exists(root / "b.wdv"));
}

TEST_F(BundleJobs, StatusLinesNameTheFileAndWhatIsDone)
{
    Write("src/a.txt", "a");
    ASSERT_EQ(Pack({Path("src/a.txt")}, Path("b.wdv")), kJobSucceeded);
    ASSERT_EQ(Unpack(Path("b.wdv"), Path("out")), kJobSucceeded);
    EXPECT_EQ(observer.statuses,
        (std::vector<std::string> {StatusLine("a.txt", kEncryptingFile), StatusLine("a.txt", kPackingFile),
            StatusLine("a.txt", kUnpackingFile), StatusLine("a.txt", kDecryptingFile)}));
}

} // namespace
} // namespace deskwarden::test
