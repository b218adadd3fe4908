#include "users/DialogStart.h"

#include "UsersTestSupport.h"

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

struct Permissions
{
    bool logon;
    bool encrypt;
    bool decrypt;
};

void ExpectPermissions(const RegistrationForm& form, Permissions expected)
{
    EXPECT_EQ(form.logon, expected.logon);
    EXPECT_EQ(form.encrypt, expected.encrypt);
    EXPECT_EQ(form.decrypt, expected.decrypt);
}

const StoredUser kStored {"Carol", "pw", kGeneralGroup, true, false, true};

TEST(DialogStart, ANewUserStartsEmptyAsGeneralUser)
{
    const DialogStart start = StartDialog({kModeNewUser, "", false, ""}, true, -1, std::nullopt);
    EXPECT_EQ(start.titleId, 114);
    EXPECT_EQ(start.title, "ユーザー登録");
    EXPECT_EQ(start.form.group, kGeneralGroup);
    EXPECT_TRUE(start.form.id.empty());
    EXPECT_FALSE(start.idFixed);
    ExpectPermissions(start.form, {false, false, false});
}

TEST(DialogStart, FirstRunPresetsTheAdministrator)
{
    const DialogStart nt = StartDialog({kModeNewUser, "", true, ""}, true, -1, std::nullopt);
    EXPECT_EQ(nt.titleId, 114);
    EXPECT_EQ(nt.form.id, "Administrator");
    EXPECT_TRUE(nt.idFixed);
    EXPECT_EQ(nt.form.group, kAdministratorGroup);
    ExpectPermissions(nt.form, {true, true, true});

    const DialogStart nine = StartDialog({kModeNewUser, "", true, ""}, false, -1, std::nullopt);
    EXPECT_TRUE(nine.form.id.empty());
    EXPECT_FALSE(nine.idFixed);
    ExpectPermissions(nine.form, {true, true, true});
}

TEST(DialogStart, AnAccountTakenOverKeepsItsNameAndPrivilege)
{
    const DialogStart admin = StartDialog({kModeExistingId, "root2", false, ""}, true, 2, std::nullopt);
    EXPECT_EQ(admin.titleId, 143);
    EXPECT_EQ(admin.title, "WINDOWSユーザー登録");
    EXPECT_EQ(admin.form.id, "root2");
    EXPECT_TRUE(admin.idFixed);
    EXPECT_EQ(admin.form.group, kAdministratorGroup);
    ExpectPermissions(admin.form, {true, true, true});

    const DialogStart user = StartDialog({kModeExistingId, "dave", false, ""}, true, 1, std::nullopt);
    EXPECT_EQ(user.form.group, kGeneralGroup);
    ExpectPermissions(user.form, {true, false, false});
    EXPECT_TRUE(user.form.RegistersPresetAccount());
}

TEST(DialogStart, AChangeLoadsTheStoredUserOrCancels)
{
    const DialogStart start = StartDialog({kModeExistingId, "", false, "carol"}, true, -1, kStored);
    EXPECT_EQ(start.titleId, 115);
    EXPECT_EQ(start.title, "ユーザー情報変更");
    EXPECT_EQ(start.form.name, "Carol");
    EXPECT_EQ(start.form.id, "carol");
    EXPECT_EQ(start.form.password, "pw");
    EXPECT_EQ(start.form.reEntry, "pw");
    ExpectPermissions(start.form, {true, false, true});
    EXPECT_FALSE(start.closeWithCancel);
    EXPECT_FALSE(start.form.Registers());

    EXPECT_TRUE(StartDialog({kModeExistingId, "", false, "carol"}, true, -1, std::nullopt).closeWithCancel);
}

TEST(DialogStart, TheAdministratorIdIsFixedWithEveryPermission)
{
    StoredUser stored = kStored;
    stored.logon = stored.encrypt = stored.decrypt = false;
    const DialogStart start = StartDialog({kModeExistingId, "", false, "ADMINISTRATOR"}, true, -1, stored);
    EXPECT_TRUE(start.idFixed);
    ExpectPermissions(start.form, {true, true, true});
}

class DialogStartFromStores : public UserStoresTest
{
};

TEST_F(DialogStartFromStores, ReadsTheUserAndTheAccountPrivilege)
{
    ASSERT_EQ(m_users.CreateUser("Erin", "erin", "", "pw9", kGeneralGroup, 0, 1, 0, "aaj"), 1);
    const DialogStart change = StartDialogFromStores({kModeExistingId, "", false, "erin"}, true, m_users, m_accounts);
    EXPECT_EQ(change.form.name, "Erin");
    EXPECT_EQ(change.form.password, "pw9");
    ExpectPermissions(change.form, {false, true, false});

    // The stand-in's built-in Administrator account has administrator privilege.
    const DialogStart admin
        = StartDialogFromStores({kModeExistingId, "Administrator", false, ""}, true, m_users, m_accounts);
    EXPECT_EQ(admin.form.group, kAdministratorGroup);
    AddAccount("frank", "pw");
    const DialogStart frank = StartDialogFromStores({kModeExistingId, "frank", false, ""}, true, m_users, m_accounts);
    EXPECT_EQ(frank.form.group, kGeneralGroup);
    ExpectPermissions(frank.form, {true, false, false});
}

} // namespace
} // namespace deskwarden::test
