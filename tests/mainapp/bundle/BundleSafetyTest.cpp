#include "BundleTestSupport.h"

#include "bundle/BundleFormat.h"
#include "bundle/BundleReader.h"
#include "bundle/BundleWriter.h"
#include "bundle/HeaderText.h"

#include "Crypto.h"

#include <sys/stat.h>

namespace deskwarden::test {
namespace {

using namespace deskwarden::bundle;

/** Writes bundles by hand, so that they can say what the job never would. */
class CraftedBundles : public BundleFolderTest
{
protected:
    struct Entry
    {
        std::string name;
        std::string content; // files only
        bool isFolder = false;
    };

    std::string EncryptedHeader(const HeaderValues& values) const
    {
        std::string text;
        std::string error;
        EXPECT_TRUE(header_text::Compose(values, text, error));
        return CCrypto().EncryptString(text, CCrypto::GetProcessKey());
    }

    std::string Container(const std::string& content)
    {
        Write("plain", content);
        const CCrypto crypto;
        EXPECT_EQ(
            crypto.EncryptFileA(nullptr, 0, Path("plain"), Path("sealed"), CCrypto::GetProcessKey(), nullptr, 200), 1);
        return Read(root / "sealed");
    }

    void Craft(const std::string& bundle, const std::vector<Entry>& entries)
    {
        BundleWriter writer;
        std::string error;
        ASSERT_TRUE(writer.Create(Path(bundle), error));
        ASSERT_TRUE(writer.WritePreamble(EncryptedHeader(Owner()), error));
        format::Counters counters;
        for (const auto& entry : entries) {
            if (entry.isFolder) {
                ASSERT_TRUE(writer.WriteFolder(entry.name, std::string(280, '\0'), error));
                ++counters.folderCount;
            }
        }
        for (const auto& entry : entries) {
            if (!entry.isFolder) {
                const std::string sealed = Container(entry.content);
                ASSERT_TRUE(writer.WriteFileHead(entry.name, std::string(280, '\0'),
                    static_cast<std::uint32_t>(entry.content.size()), static_cast<std::uint32_t>(sealed.size()),
                    error));
                Write("sealed", sealed);
                ASSERT_TRUE(writer.AppendFile(
                    Path("sealed"), [](std::uint64_t) { return true; }, error));
                ++counters.fileCount;
            }
        }
        ASSERT_TRUE(writer.Finish(counters, error)) << error;
    }

    /** Files and folders anywhere below root that are not where a test put them. */
    std::vector<std::string> Strays() const
    {
        std::vector<std::string> strays;
        for (const auto& path : Listing(root)) {
            if (path.rfind("out", 0) != 0 && path.rfind("tmp", 0) != 0 && path.rfind("src", 0) != 0 && path != "b.wdv"
                && path != "plain" && path != "sealed") {
                strays.push_back(path);
            }
        }
        return strays;
    }
};

TEST_F(CraftedBundles, NamesLeadingOutsideTheOutputFolderUnpackNothingThere)
{
    for (const char* name : {"../x", "/../x", "/a/../../x", "x", "/./x"}) {
        Craft("b.wdv", {{name, "evil"}});
        EXPECT_EQ(Unpack(Path("b.wdv"), Path("out")), kJobFailed) << name;
        EXPECT_NE(lastError.find("outside"), std::string::npos) << lastError;
        EXPECT_TRUE(Strays().empty()) << name;
        EXPECT_TRUE(fs::is_empty(root / "out")) << name;
    }
    Craft("b.wdv", {{"../up", "", true}});
    EXPECT_EQ(Unpack(Path("b.wdv"), Path("out")), kJobFailed);
    EXPECT_TRUE(Strays().empty());
}

TEST_F(CraftedBundles, AbsoluteLookingNamesLandInsideTheOutputFolder)
{
    Craft("b.wdv", {{"/etc/x", "inside"}});
    ASSERT_EQ(Unpack(Path("b.wdv"), Path("out")), kJobSucceeded) << lastError;
    EXPECT_EQ(Read(root / "out/etc/x"), "inside");
}

TEST_F(CraftedBundles, LinksInTheOutputFolderAreNotFollowed)
{
    fs::create_directories(root / "elsewhere");
    fs::create_directory_symlink(root / "elsewhere", root / "out/link");
    Craft("b.wdv", {{"/link/x", "through"}});
    EXPECT_EQ(Unpack(Path("b.wdv"), Path("out")), kJobFailed);
    EXPECT_TRUE(fs::is_empty(root / "elsewhere"));

    // A link in place of the file itself is replaced, never written through.
    Write("elsewhere/target", "untouched");
    fs::create_symlink(root / "elsewhere/target", root / "out/file");
    observer.overwrite = true;
    Craft("b.wdv", {{"/file", "replaced"}});
    ASSERT_EQ(Unpack(Path("b.wdv"), Path("out")), kJobSucceeded) << lastError;
    EXPECT_EQ(Read(root / "elsewhere/target"), "untouched");
    EXPECT_FALSE(fs::is_symlink(root / "out/file"));
    EXPECT_EQ(Read(root / "out/file"), "replaced");
}

TEST_F(CraftedBundles, FileThatFailsItsCheckLeavesNoPlainText)
{
    Craft("b.wdv", {{"/good", "fine"}, {"/bad", std::string(3000, 's')}});
    std::string bytes = Read(root / "b.wdv");
    bytes[bytes.size() - 100] ^= 0x01; // inside the last file's container
    Write("b.wdv", bytes);
    EXPECT_EQ(Unpack(Path("b.wdv"), Path("out"), 1), kJobFailed);
    EXPECT_EQ(Listing(root / "out"), (std::vector<std::string> {"good"}));
    EXPECT_TRUE(fs::is_empty(root / "tmp"));
}

TEST_F(CraftedBundles, MagicDecidesWhateverFollows)
{
    Craft("b.wdv", {{"/a", "a"}});
    std::string bytes = Read(root / "b.wdv");
    BundleHeader header;
    std::string error;
    ASSERT_TRUE(ReadHeader(Path("b.wdv"), header, error)) << error;
    bytes[9] = 'X';
    Write("b.wdv", bytes);
    EXPECT_FALSE(ReadHeader(Path("b.wdv"), header, error));
    EXPECT_NE(error.find("not a bundle"), std::string::npos);
    EXPECT_EQ(Unpack(Path("b.wdv"), Path("out")), kJobFailed);
    Write("short.wdv", "OpenHalvo");
    EXPECT_FALSE(ReadHeader(Path("short.wdv"), header, error));
    // Neither a folder nor a pipe is read (a pipe without a writer would block the caller for good).
    EXPECT_FALSE(ReadHeader(Path("out"), header, error));
    ASSERT_EQ(::mkfifo(Path("pipe.wdv").c_str(), 0600), 0);
    EXPECT_FALSE(ReadHeader(Path("pipe.wdv"), header, error));
}

TEST_F(CraftedBundles, EveryTruncationIsDamageAndNothingIsLeftBehind)
{
    Craft("b.wdv", {{"/d", "", true}, {"/d/a", "alpha"}, {"/b", "beta"}});
    const std::string bytes = Read(root / "b.wdv");
    for (std::size_t length = 0; length < bytes.size(); length += 7) {
        Write("cut.wdv", bytes.substr(0, length));
        fs::remove_all(root / "out");
        fs::create_directories(root / "out");
        EXPECT_EQ(Unpack(Path("cut.wdv"), Path("out"), 1), kJobFailed) << length;
        for (const auto& path : Listing(root / "out")) {
            const auto target = root / "out" / path;
            EXPECT_TRUE(fs::is_directory(target) || Read(target) == "alpha") << length << " " << path;
        }
    }
    Write("long.wdv", bytes + "x");
    EXPECT_EQ(Unpack(Path("long.wdv"), Path("out")), kJobFailed);
    EXPECT_NE(lastError.find("follow"), std::string::npos) << lastError;
}

TEST_F(CraftedBundles, LengthsBeyondTheFileAreRefusedBeforeAnythingIsRead)
{
    Craft("b.wdv", {{"/a", "a"}});
    std::string bytes = Read(root / "b.wdv");
    BundleReader reader;
    std::string error;
    ASSERT_TRUE(reader.Open(Path("b.wdv"), error));
    const std::size_t firstRecord = reader.Header().firstRecordOffset;

    std::string huge = bytes;
    format::PutUint32(huge.data() + 14, 0xFFFFFFF0u); // header length
    Write("h.wdv", huge);
    BundleHeader header;
    EXPECT_FALSE(ReadHeader(Path("h.wdv"), header, error));

    huge = bytes;
    format::PutUint32(huge.data() + firstRecord, 0xFFFFFFF0u); // name length
    Write("h.wdv", huge);
    BundleReader nameReader;
    ASSERT_TRUE(nameReader.Open(Path("h.wdv"), error));
    RecordInfo record;
    EXPECT_FALSE(nameReader.Next(record, error));
    EXPECT_NE(error.find("damaged"), std::string::npos);

    huge = bytes;
    format::PutUint32(huge.data() + firstRecord + 4 + 2 + 280 + 4, 0xFFFFFFF0u); // stored size
    Write("h.wdv", huge);
    BundleReader sizeReader;
    ASSERT_TRUE(sizeReader.Open(Path("h.wdv"), error));
    EXPECT_FALSE(sizeReader.Next(record, error));

    huge = bytes;
    format::PutUint32(huge.data() + firstRecord - 12, 0xFFFFFFFFu); // folder count
    Write("h.wdv", huge);
    EXPECT_EQ(Unpack(Path("h.wdv"), Path("out")), kJobFailed);
}

} // namespace
} // namespace deskwarden::test
