#include "TestRoot.h"

#include <platform/Accounts.h>
#include <platform/SystemInformation.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace platform;

namespace {

class AccountsTest : public platform_test::FreshRoot
{
protected:
    static NET_API_STATUS Add(const std::string& name, const std::string& password,
        DWORD flags = UF_SCRIPT | UF_DONT_EXPIRE_PASSWD | UF_ACCOUNTDISABLE)
    {
        std::string mutableName = name;
        std::string mutablePassword = password;
        USER_INFO_1 info {
            mutableName.data(), mutablePassword.data(), 0, USER_PRIV_USER, nullptr, nullptr, flags, nullptr};
        DWORD parmErr = 0;
        return NetUserAdd(nullptr, 1, reinterpret_cast<const std::uint8_t*>(&info), &parmErr);
    }

    struct Info
    {
        NET_API_STATUS status = 0;
        DWORD privilege = 99;
        DWORD flags = 0;
        std::string name;
    };

    static Info Get(const std::string& name, const char* server = nullptr)
    {
        Info result;
        std::uint8_t* buffer = nullptr;
        result.status = NetUserGetInfo(server, name.c_str(), 1, &buffer);
        if (result.status == NERR_Success) {
            const auto* info = reinterpret_cast<const USER_INFO_1*>(buffer);
            result.privilege = info->usri1_priv;
            result.flags = info->usri1_flags;
            result.name = info->usri1_name;
            EXPECT_EQ(info->usri1_password, nullptr);
        }
        NetApiBufferFree(buffer);
        return result;
    }

    static NET_API_STATUS SetFlags(const std::string& name, DWORD flags)
    {
        USER_INFO_1008 info {flags};
        return NetUserSetInfo(nullptr, name.c_str(), 1008, reinterpret_cast<const std::uint8_t*>(&info), nullptr);
    }

    static NET_API_STATUS Group(bool add, const std::string& group, const std::string& member)
    {
        std::string mutableMember = member;
        LOCALGROUP_MEMBERS_INFO_3 info {mutableMember.data()};
        const auto* buffer = reinterpret_cast<const std::uint8_t*>(&info);
        return add ? NetLocalGroupAddMembers(nullptr, group.c_str(), 3, buffer, 1)
                   : NetLocalGroupDelMembers(nullptr, group.c_str(), 3, buffer, 1);
    }

    static std::vector<std::string> AllNames(DWORD preferredBytes, int* rounds = nullptr)
    {
        std::vector<std::string> names;
        DWORD resume = 0;
        NET_API_STATUS status = NERR_Success;
        int count = 0;
        do {
            std::uint8_t* buffer = nullptr;
            DWORD read = 0;
            DWORD total = 0;
            status = NetUserEnum(nullptr, 0, FILTER_NORMAL_ACCOUNT, &buffer, preferredBytes, &read, &total, &resume);
            const auto* records = reinterpret_cast<const USER_INFO_0*>(buffer);
            for (DWORD i = 0; i < read; ++i) {
                names.emplace_back(records[i].usri0_name);
            }
            NetApiBufferFree(buffer);
            ++count;
        } while (status == static_cast<NET_API_STATUS>(ERROR_MORE_DATA) && count < 1000);
        EXPECT_EQ(status, NERR_Success);
        if (rounds != nullptr) {
            *rounds = count;
        }
        return names;
    }

    std::filesystem::path DatabaseFile() const { return Root() / "accounts.db"; }
};

TEST_F(AccountsTest, AFreshDatabaseHoldsAdministratorAndGuest)
{
    const Info administrator = Get("administrator");
    ASSERT_EQ(administrator.status, NERR_Success);
    EXPECT_EQ(administrator.name, "Administrator");
    EXPECT_EQ(administrator.privilege, USER_PRIV_ADMIN);
    EXPECT_EQ(administrator.flags & UF_ACCOUNTDISABLE, 0u);
    const Info guest = Get("Guest");
    ASSERT_EQ(guest.status, NERR_Success);
    EXPECT_EQ(guest.privilege, USER_PRIV_GUEST);
    EXPECT_NE(guest.flags & UF_ACCOUNTDISABLE, 0u);
    EXPECT_EQ(AllNames(MAX_PREFERRED_LENGTH), (std::vector<std::string> {"Administrator", "Guest"}));
    EXPECT_TRUE(std::filesystem::exists(DatabaseFile()));
}

TEST_F(AccountsTest, AddedAccountsAreOrdinaryUsersWithTheGivenFlags)
{
    ASSERT_EQ(Add("alice", "secret"), NERR_Success);
    const Info alice = Get("ALICE");
    ASSERT_EQ(alice.status, NERR_Success);
    EXPECT_EQ(alice.name, "alice");
    EXPECT_EQ(alice.privilege, USER_PRIV_USER);
    EXPECT_EQ(alice.flags, UF_SCRIPT | UF_DONT_EXPIRE_PASSWD | UF_ACCOUNTDISABLE | UF_NORMAL_ACCOUNT);
    EXPECT_EQ(Add("Alice", "other"), NERR_UserExists);
    EXPECT_EQ(Add("Users", "x"), NERR_GroupExists);
}

struct AddCase
{
    const char* name;
    std::size_t passwordLength;
    NET_API_STATUS expected;
};

class AccountAddRuleTest : public AccountsTest, public ::testing::WithParamInterface<AddCase>
{
};

TEST_P(AccountAddRuleTest, NamesAndPasswordsAreChecked)
{
    EXPECT_EQ(Add(GetParam().name, std::string(GetParam().passwordLength, 'p')), GetParam().expected);
    if (GetParam().expected != NERR_Success) {
        EXPECT_EQ(Get(GetParam().name).status, NERR_UserNotFound);
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, AccountAddRuleTest,
    ::testing::Values(AddCase {"bob", 0, NERR_Success}, AddCase {"bob", 127, NERR_Success},
        AddCase {"bob", 128, NERR_PasswordTooShort}, AddCase {"", 4, NERR_BadUsername},
        AddCase {"abcdefghijklmnopqrst", 4, NERR_Success}, AddCase {"abcdefghijklmnopqrstu", 4, NERR_BadUsername},
        AddCase {"a/b", 4, NERR_BadUsername}, AddCase {"a\\b", 4, NERR_BadUsername},
        AddCase {"...", 4, NERR_BadUsername}, AddCase {"tab\there", 4, NERR_BadUsername},
        AddCase {"\xE5\xA4\xAA\xE9\x83\x8E", 4, NERR_Success}));

TEST_F(AccountsTest, AddRefusesWrongLevelsAndPrivileges)
{
    std::string name = "carol";
    USER_INFO_1 info {name.data(), nullptr, 0, USER_PRIV_ADMIN, nullptr, nullptr, UF_SCRIPT, nullptr};
    DWORD parmErr = 0;
    EXPECT_EQ(NetUserAdd(nullptr, 1, reinterpret_cast<const std::uint8_t*>(&info), &parmErr),
        static_cast<NET_API_STATUS>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(parmErr, USER_PRIV_PARMNUM);
    EXPECT_EQ(NetUserAdd(nullptr, 2, reinterpret_cast<const std::uint8_t*>(&info), &parmErr),
        static_cast<NET_API_STATUS>(ERROR_INVALID_LEVEL));
    EXPECT_EQ(NetUserAdd(nullptr, 1, nullptr, &parmErr), static_cast<NET_API_STATUS>(ERROR_INVALID_PARAMETER));
}

TEST_F(AccountsTest, PasswordsChangeOnlyWithTheCurrentOne)
{
    ASSERT_EQ(Add("dave", "first"), NERR_Success);
    EXPECT_EQ(
        NetUserChangePassword(nullptr, "dave", "wrong", "second"), static_cast<NET_API_STATUS>(ERROR_INVALID_PASSWORD));
    EXPECT_EQ(NetUserChangePassword(nullptr, "DAVE", "first", "second"), NERR_Success);
    EXPECT_EQ(
        NetUserChangePassword(nullptr, "dave", "first", "third"), static_cast<NET_API_STATUS>(ERROR_INVALID_PASSWORD));
    EXPECT_EQ(NetUserChangePassword(nullptr, "dave", "second", std::string(200, 'x').c_str()), NERR_PasswordTooShort);
    EXPECT_EQ(NetUserChangePassword(nullptr, "dave", "second", "third"), NERR_Success);
    EXPECT_EQ(NetUserChangePassword(nullptr, "nobody", "a", "b"), NERR_UserNotFound);
    EXPECT_EQ(NetUserChangePassword(nullptr, "Guest", "", "b"), static_cast<NET_API_STATUS>(ERROR_ACCESS_DENIED));
}

TEST_F(AccountsTest, PasswordsAreStoredOnlyAsSaltedHashes)
{
    ASSERT_EQ(Add("erin", "PlainTextPassword"), NERR_Success);
    ASSERT_EQ(Add("frank", "PlainTextPassword"), NERR_Success);
    const std::string file = platform_test::ReadFile(DatabaseFile());
    EXPECT_EQ(file.find("PlainTextPassword"), std::string::npos);
    // Setting a password by level 1003 is checked by the next change.
    std::string password = "reset";
    USER_INFO_1003 info {password.data()};
    ASSERT_EQ(
        NetUserSetInfo(nullptr, "erin", 1003, reinterpret_cast<const std::uint8_t*>(&info), nullptr), NERR_Success);
    EXPECT_EQ(NetUserChangePassword(nullptr, "erin", "PlainTextPassword", "x"),
        static_cast<NET_API_STATUS>(ERROR_INVALID_PASSWORD));
    EXPECT_EQ(NetUserChangePassword(nullptr, "erin", "reset", "x"), NERR_Success);
}

TEST_F(AccountsTest, FlagsEnableAndDisable)
{
    ASSERT_EQ(Add("gina", "pw"), NERR_Success);
    EXPECT_EQ(SetFlags("gina", UF_SCRIPT | UF_DONT_EXPIRE_PASSWD), NERR_Success);
    EXPECT_EQ(Get("gina").flags & UF_ACCOUNTDISABLE, 0u);
    EXPECT_EQ(SetFlags("gina", UF_SCRIPT | UF_DONT_EXPIRE_PASSWD | UF_ACCOUNTDISABLE), NERR_Success);
    EXPECT_NE(Get("gina").flags & UF_ACCOUNTDISABLE, 0u);
    EXPECT_EQ(SetFlags("nobody", UF_SCRIPT), NERR_UserNotFound);
    USER_INFO_1008 info {UF_SCRIPT};
    EXPECT_EQ(NetUserSetInfo(nullptr, "gina", 2, reinterpret_cast<const std::uint8_t*>(&info), nullptr),
        static_cast<NET_API_STATUS>(ERROR_INVALID_LEVEL));
}

TEST_F(AccountsTest, TheLastEnabledAdministratorCannotBeLost)
{
    EXPECT_EQ(SetFlags("Administrator", UF_SCRIPT | UF_ACCOUNTDISABLE), NERR_LastAdmin);
    EXPECT_EQ(NetUserDel(nullptr, "Administrator"), NERR_LastAdmin);
    EXPECT_EQ(Group(false, "Administrators", "Administrator"), NERR_LastAdmin);
    EXPECT_EQ(Get("Administrator").privilege, USER_PRIV_ADMIN);

    ASSERT_EQ(Add("helen", "pw", UF_SCRIPT), NERR_Success);
    ASSERT_EQ(Group(true, "Administrators", "helen"), NERR_Success);
    EXPECT_EQ(Get("helen").privilege, USER_PRIV_ADMIN);
    EXPECT_EQ(NetUserDel(nullptr, "Administrator"), NERR_Success);
    EXPECT_EQ(NetUserDel(nullptr, "helen"), NERR_LastAdmin);
}

TEST_F(AccountsTest, GroupMembershipFollowsWindowsCodes)
{
    ASSERT_EQ(Add("ivan", "pw"), NERR_Success);
    EXPECT_EQ(Group(true, "Administrators", "ivan"), NERR_Success);
    EXPECT_EQ(Group(true, "administrators", "IVAN"), static_cast<NET_API_STATUS>(ERROR_MEMBER_IN_ALIAS));
    EXPECT_EQ(Group(true, "Administrators", "nobody"), static_cast<NET_API_STATUS>(ERROR_NO_SUCH_MEMBER));
    EXPECT_EQ(Group(true, "Administrators", "Users"), static_cast<NET_API_STATUS>(ERROR_INVALID_MEMBER));
    EXPECT_EQ(Group(true, "Nowhere", "ivan"), NERR_GroupNotFound);
    EXPECT_EQ(Group(false, "Guests", "ivan"), static_cast<NET_API_STATUS>(ERROR_MEMBER_NOT_IN_ALIAS));

    std::string computer;
    ASSERT_TRUE(GetComputerName(computer));
    EXPECT_EQ(Group(false, "Administrators", computer + "\\ivan"), NERR_Success);
    EXPECT_EQ(Get("ivan").privilege, USER_PRIV_USER);
    EXPECT_EQ(Group(true, "Administrators", "ELSEWHERE\\ivan"), static_cast<NET_API_STATUS>(ERROR_NO_SUCH_MEMBER));

    EXPECT_EQ(Group(false, "Users", "ivan"), NERR_Success);
    EXPECT_EQ(Group(true, "Guests", "ivan"), NERR_Success);
    EXPECT_EQ(Get("ivan").privilege, USER_PRIV_GUEST);
    EXPECT_EQ(
        NetLocalGroupAddMembers(nullptr, "Guests", 0, nullptr, 0), static_cast<NET_API_STATUS>(ERROR_INVALID_LEVEL));
}

TEST_F(AccountsTest, DeletingAnAccountRemovesItEverywhere)
{
    ASSERT_EQ(Add("judy", "pw"), NERR_Success);
    ASSERT_EQ(Group(true, "Guests", "judy"), NERR_Success);
    EXPECT_EQ(NetUserDel(nullptr, "JUDY"), NERR_Success);
    EXPECT_EQ(Get("judy").status, NERR_UserNotFound);
    EXPECT_EQ(NetUserDel(nullptr, "judy"), NERR_UserNotFound);
    // A new account of the same name starts without the old memberships.
    ASSERT_EQ(Add("judy", "pw"), NERR_Success);
    EXPECT_EQ(Group(false, "Guests", "judy"), static_cast<NET_API_STATUS>(ERROR_MEMBER_NOT_IN_ALIAS));
}

TEST_F(AccountsTest, OnlyTheLocalMachineIsServed)
{
    std::string computer;
    ASSERT_TRUE(GetComputerName(computer));
    std::string lower = computer;
    std::transform(
        lower.begin(), lower.end(), lower.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_EQ(Get("Guest", ("\\\\" + lower).c_str()).status, NERR_Success);
    EXPECT_EQ(Get("Guest", "").status, NERR_Success);
    EXPECT_EQ(Get("Guest", "\\\\SOMEWHERE-ELSE").status, NERR_InvalidComputer);
    EXPECT_EQ(NetUserDel("\\\\SOMEWHERE-ELSE", "Guest"), NERR_InvalidComputer);
}

TEST_F(AccountsTest, EnumerationInSmallRoundsYieldsEveryAccountOnce)
{
    for (int i = 0; i < 25; ++i) {
        ASSERT_EQ(Add("user" + std::to_string(100 + i), "pw"), NERR_Success);
    }
    int rounds = 0;
    const std::vector<std::string> names = AllNames(64, &rounds);
    EXPECT_GT(rounds, 1);
    ASSERT_EQ(names.size(), 27u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return std::tolower(x) < std::tolower(y); });
    }));
    EXPECT_EQ(AllNames(MAX_PREFERRED_LENGTH), names);
}

TEST_F(AccountsTest, ADamagedDatabaseGivesACodeNotACrash)
{
    platform_test::WriteFile(DatabaseFile(), platform_test::RandomBytes(4096, 7));
    EXPECT_EQ(Get("Administrator").status, static_cast<NET_API_STATUS>(ERROR_BADDB));
    EXPECT_EQ(Add("kate", "pw"), static_cast<NET_API_STATUS>(ERROR_BADDB));
    std::uint8_t* buffer = nullptr;
    DWORD read = 0;
    DWORD total = 0;
    EXPECT_EQ(NetUserEnum(nullptr, 0, FILTER_NORMAL_ACCOUNT, &buffer, MAX_PREFERRED_LENGTH, &read, &total, nullptr),
        static_cast<NET_API_STATUS>(ERROR_BADDB));
    EXPECT_EQ(buffer, nullptr);
}

TEST_F(AccountsTest, TruncatedDatabasesAreSurvived)
{
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(Add("user" + std::to_string(i), "pw"), NERR_Success);
    }
    const std::string whole = platform_test::ReadFile(DatabaseFile());
    for (std::size_t length = 0; length < whole.size(); length += whole.size() / 13 + 1) {
        SCOPED_TRACE(length);
        platform_test::WriteFile(DatabaseFile(), whole.substr(0, length));
        const Info info = Get("user3");
        EXPECT_TRUE(info.status == NERR_Success || info.status == NERR_UserNotFound
            || info.status == static_cast<NET_API_STATUS>(ERROR_BADDB) || info.status == NERR_InternalError)
            << info.status;
        std::uint8_t* buffer = nullptr;
        DWORD read = 0;
        DWORD total = 0;
        NetUserEnum(nullptr, 1, FILTER_NORMAL_ACCOUNT, &buffer, MAX_PREFERRED_LENGTH, &read, &total, nullptr);
        NetApiBufferFree(buffer);
    }
}

TEST_F(AccountsTest, TwoProcessesAddingAccountsLoseNone)
{
    ASSERT_EQ(Get("Guest").status, NERR_Success);
    const int failed = platform_test::RunInChildren(2, [](int index) {
        int errors = 0;
        for (int i = 0; i < 15; ++i) {
            errors += Add("p" + std::to_string(index) + "u" + std::to_string(i), "pw") != NERR_Success;
        }
        return errors;
    });
    ASSERT_EQ(failed, 0);
    EXPECT_EQ(AllNames(MAX_PREFERRED_LENGTH).size(), 32u);
}

} // namespace
