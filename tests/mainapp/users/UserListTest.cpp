#include "users/UserList.h"

#include "UsersTestSupport.h"

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

class UserListRows : public UserStoresTest
{
};

TEST_F(UserListRows, ProgramUsersThenAccountsThatAreNoProgramUsers)
{
    ASSERT_EQ(m_users.CreateUser("Boss", "boss", "", "pw", kAdministratorGroup, 1, 1, 1, "aaj"), 1);
    ASSERT_EQ(m_users.CreateUser("Carol", "carol", "", "pw", kGeneralGroup, 0, 1, 0, "aaj"), 1);
    AddAccount("CAROL", "pw");
    AddAccount("dave", "pw");

    const std::vector<UserRow> rows = ListUserRows(m_users, m_accounts, true);
    const std::vector<UserRow> expected {
        {"Boss", "boss", 118, true, true, true},
        {"Carol", "carol", 131, false, true, false},
        {"", "Administrator", 0, false, false, false},
        {"", "dave", 0, false, false, false},
    };
    EXPECT_EQ(rows, expected) << "the disabled Guest is never listed, CAROL is the program user carol";
    EXPECT_TRUE(rows[3].IsAccountOnly());
}

TEST_F(UserListRows, OutsideTheNtFamilyOnlyProgramUsers)
{
    AddAccount("dave", "pw");
    ASSERT_EQ(m_users.CreateUser("Boss", "boss", "", "pw", kAdministratorGroup, 1, 1, 1, "aaj"), 1);
    const std::vector<UserRow> rows = ListUserRows(m_users, m_accounts, false);
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(rows[0].id, "boss");
}

} // namespace
} // namespace deskwarden::test
