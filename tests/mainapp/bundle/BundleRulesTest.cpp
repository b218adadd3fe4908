#include "bundle/BundleHeader.h"
#include "bundle/BundleTexts.h"
#include "bundle/EntryName.h"
#include "bundle/HeaderText.h"

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

using namespace deskwarden::bundle;

BundleHeader HeaderOf(HeaderValues values)
{
    BundleHeader header;
    header.values = std::move(values);
    return header;
}

TEST(BundleAccess, WithoutPasswordOrOthersOnlyTheOwnerOpens)
{
    const auto header = HeaderOf({"", {"Alice", "K1"}, {}});
    EXPECT_TRUE(CheckAccess(header, "alice", "K1", ""));
    EXPECT_TRUE(CheckAccess(header, "ALICE", "K1", "anything"));
    EXPECT_FALSE(CheckAccess(header, "bob", "K1", ""));
    EXPECT_FALSE(CheckAccess(header, "alice", "k1", ""));
}

TEST(BundleAccess, PermittedUserNeedsHisOwnKey)
{
    const auto header = HeaderOf({"", {"alice", "K1"}, {{"bob", "K2"}, {"carol", "K3"}}});
    EXPECT_TRUE(CheckAccess(header, "Carol", "K3", ""));
    EXPECT_FALSE(CheckAccess(header, "bob", "K3", ""));
    EXPECT_FALSE(CheckAccess(header, "bob", "", ""));
}

TEST(BundleAccess, FilePasswordMustMatchExactlyEvenForTheOwner)
{
    const auto header = HeaderOf({"Secret", {"alice", "K1"}, {{"bob", "K2"}}});
    EXPECT_TRUE(CheckAccess(header, "alice", "K1", "Secret"));
    EXPECT_FALSE(CheckAccess(header, "alice", "K1", "secret"));
    EXPECT_FALSE(CheckAccess(header, "bob", "K2", ""));
}

TEST(BundleAccess, EmptyIdentityNeverOpens)
{
    // An owner entry that a damaged or forged header left empty must not match an empty caller.
    BundleHeader header;
    EXPECT_FALSE(CheckAccess(header, "", "", ""));
}

TEST(BundleHeaderText, ComposedTextSplitsBackIntoTheSameValues)
{
    const HeaderValues values {"pw", {"alice", "00:11:22alice"}, {{"bob", "kb"}, {"carol", "kc"}}};
    std::string text;
    std::string error;
    ASSERT_TRUE(header_text::Compose(values, text, error));
    EXPECT_EQ(text, "pw*alice,00:11:22alice*bob,kb;carol,kc");
    HeaderValues parsed;
    ASSERT_TRUE(header_text::Parse(text, parsed));
    EXPECT_EQ(parsed, values);

    ASSERT_TRUE(header_text::Compose({"", {"alice", "k"}, {}}, text, error));
    EXPECT_EQ(text, "*alice,k*");
}

TEST(BundleHeaderText, ValuesThatWouldSplitDifferentlyAreRefused)
{
    std::string text;
    std::string error;
    EXPECT_FALSE(header_text::Compose({"a*b", {"alice", "k"}, {}}, text, error));
    EXPECT_FALSE(header_text::Compose({"", {"al,ice", "k"}, {}}, text, error));
    EXPECT_FALSE(header_text::Compose({"", {"alice", "k;x"}, {}}, text, error));
    EXPECT_FALSE(header_text::Compose({"", {"", "k"}, {}}, text, error));
    EXPECT_FALSE(header_text::Compose({"", {"alice", "k"}, {{"bob", "k*"}}}, text, error));
    EXPECT_FALSE(error.empty());
}

TEST(BundleHeaderText, MalformedTextsDoNotParse)
{
    HeaderValues values;
    for (const char* text : {"", "a*b", "a*b,c*d*e", "*nocomma*", "*,key*", "*a,k*bob", "*a,k*b,1;;c,2"}) {
        EXPECT_FALSE(header_text::Parse(text, values)) << text;
    }
}

TEST(BundleEntryName, NamesThatCouldLeaveTheFolderAreRefused)
{
    std::vector<std::string> parts;
    for (const char* name : {"", "x", "../x", "/../x", "/a/../../x", "/a//b", "/a/", "/./a", "/..", "a/b"}) {
        EXPECT_FALSE(entry_name::Split(name, parts)) << name;
    }
    EXPECT_FALSE(entry_name::Split(std::string("/a\0b", 4), parts));
    EXPECT_FALSE(entry_name::Split("/" + std::string(256, 'n'), parts));
}

TEST(BundleEntryName, OrdinaryNamesSplitIntoTheirComponents)
{
    std::vector<std::string> parts;
    ASSERT_TRUE(entry_name::Split("/etc/x", parts));
    EXPECT_EQ(parts, (std::vector<std::string> {"etc", "x"}));
    ASSERT_TRUE(entry_name::Split("/a\\..\\b/...", parts));
    EXPECT_EQ(parts, (std::vector<std::string> {"a\\..\\b", "..."}));
    EXPECT_EQ(entry_name::ForMarkedPath("/home/u/docs/"), "/docs");
    EXPECT_EQ(entry_name::ForMarkedPath("/home/u/a.txt"), "/a.txt");
}

TEST(BundleStatusLine, LongLinesKeepHeadAndTailInCharacters)
{
    EXPECT_EQ(StatusLine("a.txt", kPackingFile), std::string("a.txt ") + kPackingFile);
    const std::string name(49, 'n');
    const std::string line = StatusLine(name, kEncryptingFile); // 49 + 1 + 11 characters
    EXPECT_EQ(line, "nnn..." + std::string(name.substr(0, 42)) + " " + kEncryptingFile);
    // Exactly 60 characters stay whole, whatever their byte count.
    const std::string sixty = StatusLine(std::string(48, 'x'), kEncryptingFile);
    EXPECT_EQ(sixty, std::string(48, 'x') + " " + kEncryptingFile);
}

} // namespace
} // namespace deskwarden::test
