#include "SystemTestRoot.h"

#include "SystemUser.h"

#include <algorithm>

using namespace platform;

namespace {

class SystemUserTest : public system_test::FreshSystemTest
{
protected:
    static DWORD FlagsOf(const std::string& name)
    {
        std::uint8_t* buffer = nullptr;
        DWORD flags = 0xFFFFFFFF;
        if (NetUserGetInfo(nullptr, name.c_str(), 1, &buffer) == NERR_Success) {
            flags = reinterpret_cast<const USER_INFO_1*>(buffer)->usri1_flags;
        }
        NetApiBufferFree(buffer);
        return flags;
    }

    CSystemUser m_user;
    std::string m_message;
};

TEST_F(SystemUserTest, CreatingAnExistingAccountFailsWithItsMessage)
{
    EXPECT_EQ(m_user.AccountCreate("Administrator", "pw", m_message), 0);
    EXPECT_EQ(m_message, "Error in AccountCreate:  The user account already exists.");
}

TEST_F(SystemUserTest, ANewAccountIsDisabledUntilEnabled)
{
    ASSERT_EQ(m_user.AccountCreate("alice", "pw", m_message), 1);
    EXPECT_EQ(FlagsOf("alice"), UF_SCRIPT | UF_DONT_EXPIRE_PASSWD | UF_ACCOUNTDISABLE | UF_NORMAL_ACCOUNT);
    ASSERT_EQ(m_user.AccountEnable("alice", 1, m_message), 1);
    EXPECT_EQ(FlagsOf("alice"), UF_SCRIPT | UF_DONT_EXPIRE_PASSWD | UF_NORMAL_ACCOUNT);
    ASSERT_EQ(m_user.AccountEnable("alice", 0, m_message), 1);
    EXPECT_NE(FlagsOf("alice") & UF_ACCOUNTDISABLE, 0u);
    EXPECT_EQ(m_user.AccountEnable("nobody", 1, m_message), 0);
    EXPECT_EQ(m_message, "Error in AccountEnable:  The user name could not be found.");
}

TEST_F(SystemUserTest, PrivilegeFollowsTheGroups)
{
    EXPECT_EQ(m_user.AccountGetInfo("Administrator", m_message), 2);
    EXPECT_EQ(m_user.AccountGetInfo("guest", m_message), 0);
    ASSERT_EQ(m_user.AccountCreate("bob", "pw", m_message), 1);
    EXPECT_EQ(m_user.AccountGetInfo("bob", m_message), 1);
    ASSERT_EQ(m_user.AccountInsertInGroup("bob", "Administrators", m_message), 1);
    EXPECT_EQ(m_user.AccountGetInfo("bob", m_message), 2);
    ASSERT_EQ(m_user.AccountDeleteInGroup("bob", "Administrators", m_message), 1);
    EXPECT_EQ(m_user.AccountGetInfo("bob", m_message), 1);
}

TEST_F(SystemUserTest, AMissingAccountHasNoPrivilege)
{
    EXPECT_EQ(m_user.AccountGetInfo("nobody", m_message), -1);
    EXPECT_EQ(m_message, "Error in AccountGetInfo:  The user name could not be found.");
    EXPECT_EQ(m_user.AccountExist("nobody", m_message), 0);
    EXPECT_EQ(m_message, "Error in AccountExist:  The user name could not be found.");
    EXPECT_EQ(m_user.AccountDelete("nobody", m_message), 0);
    EXPECT_EQ(m_message, "Error in AccountDelete:  The user name could not be found.");
}

TEST_F(SystemUserTest, GroupFailuresNameTheirCause)
{
    ASSERT_EQ(m_user.AccountCreate("carol", "pw", m_message), 1);
    EXPECT_EQ(m_user.AccountInsertInGroup("carol", "Users", m_message), 0);
    EXPECT_EQ(m_message,
        "Error in AccountInsertInGroup:  One or more of the members specified were already members "
        "of the local group. No new members were added.");
    EXPECT_EQ(m_user.AccountInsertInGroup("carol", "Nowhere", m_message), 0);
    EXPECT_EQ(m_message,
        "Error in AccountInsertInGroup:  The local group specified by the groupname parameter does not "
        "exist.");
    EXPECT_EQ(m_user.AccountInsertInGroup("nobody", "Users", m_message), 0);
    EXPECT_EQ(m_message,
        "Error in AccountInsertInGroup:  One or more of the members specified do not exist. "
        "Therefore, no new members were added.");
    // Removing a non-member returns a code this operation does not describe.
    EXPECT_EQ(m_user.AccountDeleteInGroup("carol", "Guests", m_message), 0);
    EXPECT_EQ(m_message, "Error in AccountDeleteInGroup:  Unspecified error.");
}

TEST_F(SystemUserTest, PasswordsChangeWithTheCurrentPassword)
{
    ASSERT_EQ(m_user.AccountCreate("dave", "old", m_message), 1);
    EXPECT_EQ(m_user.AccountChangePassword("dave", "wrong", "new", m_message), 0);
    EXPECT_EQ(m_message, "Error in AccountChangePassword:  The user has entered an invalid password.");
    EXPECT_EQ(m_user.AccountChangePassword("dave", "old", std::string(128, 'p'), m_message), 0);
    EXPECT_EQ(m_message, "Error in AccountChangePassword:  The password is shorter than required.");
    EXPECT_EQ(m_user.AccountChangePassword("dave", "old", "new", m_message), 1);
    EXPECT_EQ(m_user.AccountChangePassword("dave", "new", "newer", m_message), 1);
}

TEST_F(SystemUserTest, DeletedAccountsNoLongerExist)
{
    ASSERT_EQ(m_user.AccountCreate("erin", "pw", m_message), 1);
    EXPECT_EQ(m_user.AccountExist("erin", m_message), 1);
    EXPECT_EQ(m_user.AccountDelete("ERIN", m_message), 1);
    EXPECT_EQ(m_user.AccountExist("erin", m_message), 0);
}

TEST_F(SystemUserTest, TheLastAdministratorStaysEnabled)
{
    m_message = "before";
    EXPECT_EQ(m_user.AccountEnable("Administrator", 0, m_message), 0);
    EXPECT_EQ(m_message, "Error in AccountEnable:  The operation is not allowed on the last administrative account..");
    EXPECT_EQ(m_user.AccountDelete("Administrator", m_message), 0);
    EXPECT_EQ(m_message, "Error in AccountDelete:  Unspecified error.");
}

TEST_F(SystemUserTest, GetUsersAppendsEveryAccountOverSeveralRounds)
{
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(m_user.AccountCreate("u" + std::to_string(1000 + i), "", m_message), 1) << m_message;
    }
    std::vector<std::string> names {"kept"};
    ASSERT_EQ(m_user.AccountGetUsers(names, m_message), 1);
    ASSERT_EQ(names.size(), 303u);
    EXPECT_EQ(names.front(), "kept");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

TEST_F(SystemUserTest, TheComputerNameIsShortAndUpperCase)
{
    std::string name;
    ASSERT_EQ(m_user.GetComputerNameLocal(name), 1);
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 15u);
    EXPECT_EQ(name.find_first_of("abcdefghijklmnopqrstuvwxyz."), std::string::npos);
}

// A system where the account library, or one of its functions, cannot be found.
class MissingFunctions : public CSystemUser
{
public:
    explicit MissingFunctions(bool wholeLibrary)
        : m_wholeLibrary(wholeLibrary)
    {
    }

protected:
    const NetApiLibrary* LoadNetApi() const override
    {
        static const NetApiLibrary kPartial {
            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &NetApiBufferFree};
        return m_wholeLibrary ? nullptr : &kPartial;
    }

private:
    bool m_wholeLibrary;
};

TEST_F(SystemUserTest, MissingFunctionsFailWithoutAMessage)
{
    for (const bool wholeLibrary : {true, false}) {
        MissingFunctions user(wholeLibrary);
        std::string message = "untouched";
        std::vector<std::string> names;
        EXPECT_EQ(user.AccountCreate("frank", "pw", message), 0);
        EXPECT_EQ(user.AccountEnable("Administrator", 1, message), 0);
        EXPECT_EQ(user.AccountDelete("Guest", message), 0);
        EXPECT_EQ(user.AccountExist("Guest", message), 0);
        EXPECT_EQ(user.AccountInsertInGroup("Guest", "Users", message), 0);
        EXPECT_EQ(user.AccountDeleteInGroup("Guest", "Guests", message), 0);
        EXPECT_EQ(user.AccountChangePassword("Administrator", "", "x", message), 0);
        EXPECT_EQ(user.AccountGetInfo("Administrator", message), -1);
        EXPECT_EQ(user.AccountGetUsers(names, message), 0);
        EXPECT_EQ(message, "untouched");
        EXPECT_TRUE(names.empty());
    }
    // Nothing was done behind the missing functions.
    EXPECT_EQ(m_user.AccountExist("frank", m_message), 0);
    EXPECT_EQ(m_user.AccountExist("Guest", m_message), 1);
}

} // namespace
