#include "AccountMessages.h"

#include <gtest/gtest.h>

namespace {

struct MessageCase
{
    AccountOperation operation;
    std::uint32_t code;
    const char* expected;
};

class AccountMessagesTest : public ::testing::TestWithParam<MessageCase>
{
};

TEST_P(AccountMessagesTest, EachOperationDescribesOnlyItsOwnCodes)
{
    EXPECT_EQ(AccountErrorMessage(GetParam().operation, GetParam().code), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, AccountMessagesTest,
    ::testing::Values(
        MessageCase {AccountOperation::Create, 2224, "Error in AccountCreate:  The user account already exists."},
        MessageCase {AccountOperation::Create, 2245,
            "Error in AccountCreate:  The password is shorter than required, too long, too recent or not have "
            "enough unique characters."},
        MessageCase {AccountOperation::Create, 2221, "Error in AccountCreate:  Unspecified error."},
        MessageCase {
            AccountOperation::Enable, 87, "Error in AccountEnable:  One of the function parameters is invalid"},
        MessageCase {AccountOperation::Enable, 2234,
            "Error in AccountEnable:  The operation is not allowed on specified special groups."},
        MessageCase {AccountOperation::Delete, 2226,
            "Error in AccountDelete:  The operation is allowed only on the primary domain controller of the "
            "domain."},
        MessageCase {AccountOperation::Delete, 2452, "Error in AccountDelete:  Unspecified error."},
        MessageCase {AccountOperation::Exist, 5,
            "Error in AccountExist:  The user does not have access to the requested information."},
        MessageCase {AccountOperation::InsertInGroup, 1388,
            "Error in AccountInsertInGroup:  One or more of the members cannot be added because their account "
            "type is invalid. No new members were added."},
        MessageCase {AccountOperation::DeleteInGroup, 1388, "Error in AccountDeleteInGroup:  Unspecified error."},
        MessageCase {AccountOperation::ChangePassword, 2245,
            "Error in AccountChangePassword:  The password is shorter than required."},
        MessageCase {
            AccountOperation::ChangePassword, 2351, "Error in AccountChangePassword:  The computer name is invalid."},
        MessageCase {AccountOperation::GetInfo, 2223, "Error in AccountGetInfo:  Unspecified error."},
        MessageCase {AccountOperation::GetUsers, 2351, "Error in AccountGetUsers:  The computer name is invalid."}));

TEST(AccountExceptionMessageTest, HasASingleSpaceAfterTheColon)
{
    EXPECT_EQ(AccountExceptionMessage(AccountOperation::Create), "Error in AccountCreate: Unspecified error.");
    EXPECT_EQ(AccountExceptionMessage(AccountOperation::GetInfo), "Error in AccountGetInfo: Unspecified error.");
}

} // namespace
