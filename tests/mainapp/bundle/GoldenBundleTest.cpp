#include "BundleTestSupport.h"
#include "golden/GoldenContent.h"

#include "bundle/BundleReader.h"

namespace deskwarden::test {
namespace {

using namespace deskwarden::bundle;

const fs::path kGoldenFolder = WARDEN_GOLDEN_BUNDLES;

class GoldenBundles : public BundleFolderTest
{
};

TEST_F(GoldenBundles, TreeBundleKeepsItsHeaderRecordsAndContent)
{
    const std::string path = (kGoldenFolder / "tree.wdv").string();
    BundleReader reader;
    std::string error;
    ASSERT_TRUE(reader.Open(path, error)) << error;
    EXPECT_EQ(reader.Header().values, golden::TreeHeader());
    EXPECT_EQ(reader.Header().folderCount, 3u);
    EXPECT_EQ(reader.Header().fileCount, 4u);
    std::vector<std::string> names;
    for (RecordInfo record; reader.Next(record, error);) {
        names.push_back(record.name);
    }
    EXPECT_EQ(error, "");
    EXPECT_EQ(names, golden::TreeRecordNames());

    ASSERT_EQ(Unpack(path, Path("out")), kJobSucceeded) << lastError;
    for (const auto& file : golden::TreeFiles()) {
        EXPECT_EQ(Read(root / "out" / file.path), file.content) << file.path;
    }
}

TEST_F(GoldenBundles, AccessFollowsTheStoredHeader)
{
    BundleHeader tree;
    BundleHeader lone;
    std::string error;
    ASSERT_TRUE(ReadHeader((kGoldenFolder / "tree.wdv").string(), tree, error)) << error;
    ASSERT_TRUE(ReadHeader((kGoldenFolder / "lone.wdv").string(), lone, error)) << error;
    const HeaderValues values = golden::TreeHeader();
    const AccessEntry owner = values.owner;
    const AccessEntry reader = values.permitted.at(0);
    EXPECT_TRUE(CheckAccess(tree, reader.id, reader.key, ""));
    EXPECT_FALSE(CheckAccess(lone, reader.id, reader.key, "sesame"));
    EXPECT_FALSE(CheckAccess(lone, owner.id, owner.key, ""));
    EXPECT_TRUE(CheckAccess(lone, owner.id, owner.key, "sesame"));

    ASSERT_EQ(Unpack((kGoldenFolder / "lone.wdv").string(), Path("out")), kJobSucceeded) << lastError;
    EXPECT_EQ(Read(root / "out" / golden::LoneFile().path), golden::LoneFile().content);
}

} // namespace
} // namespace deskwarden::test
