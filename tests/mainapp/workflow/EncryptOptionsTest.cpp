#include "workflow/EncryptOptions.h"
#include "files/FileList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace deskwarden::test {
namespace {

using namespace deskwarden::workflow;

EncryptOptionsForm Valid()
{
    return EncryptOptionsForm {"pw", "pw", "/tmp/out.wdv", {}};
}

TEST(EncryptOptions, ChecksInOrderWithTextAndFocus)
{
    files::FileList list;
    EXPECT_EQ(CheckEncryptOptions(Valid(), list), std::nullopt);

    EncryptOptionsForm form = Valid();
    form.reEntry = "other";
    form.bundlePath = "";
    auto failure = CheckEncryptOptions(form, list);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message, (users::Message {120, "入力したパスワードが違います。"}));
    EXPECT_EQ(failure->focus, OptionsField::Password);

    form.password = form.reEntry = "a;b*c";
    failure = CheckEncryptOptions(form, list);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message.text, "“';”文字は使うことができません。") << "the first forbidden character is named";

    form.password = form.reEntry = "";
    failure = CheckEncryptOptions(form, list);
    ASSERT_TRUE(failure.has_value()) << "an empty password is allowed, an empty name is not";
    EXPECT_EQ(failure->message, (users::Message {130, "暗号化ファイル名を入力してください。"}));
    EXPECT_EQ(failure->focus, OptionsField::Browse);
}

TEST(EncryptOptions, ABundleNamedLikeAListedFileIsRefused)
{
    const auto path = std::filesystem::temp_directory_path() / "encrypt-options-listed.wdv";
    std::ofstream(path) << "x";
    files::FileList list;
    ASSERT_TRUE(list.Add(path.string()));
    EncryptOptionsForm form = Valid();
    form.bundlePath = path.string();
    const auto failure = CheckEncryptOptions(form, list);
    std::filesystem::remove(path);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message, (users::Message {1, "等しいファイルがもう存在します"}));
    EXPECT_EQ(failure->focus, OptionsField::BundleName);
}

TEST(PermittedUsers, MoveBetweenTheListsOnlyWhenPresent)
{
    std::vector<std::string> all {"alice", "bob"};
    std::vector<std::string> permitted;
    MoveUser(all, permitted, "bob");
    MoveUser(all, permitted, "carol");
    EXPECT_EQ(all, (std::vector<std::string> {"alice"}));
    EXPECT_EQ(permitted, (std::vector<std::string> {"bob"}));
    MoveUser(permitted, all, "bob");
    EXPECT_EQ(all, (std::vector<std::string> {"alice", "bob"}));
    EXPECT_TRUE(permitted.empty());
}

} // namespace
} // namespace deskwarden::test
