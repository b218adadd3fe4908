#include "users/RegistrationChecks.h"

#include "UsersTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace deskwarden::test {
namespace {

struct TypedCase
{
    const char* what;
    std::function<void(RegistrationForm&)> edit;
    int stringId;
    const char* text;
    Field focus;
};

// Each row breaks the form so that exactly its check is the first to fail; later fields stay broken
// where the order matters, so a check run out of order shows up as the wrong message.
const TypedCase kTypedCases[] = {
    {"NameEmpty", [](RegistrationForm& f) { f.name.clear(), f.id.clear(), f.password.clear(); }, 116,
        "名前を入力してください。", Field::Name},
    {"NameForbidden", [](RegistrationForm& f) { f.name = "Al|ce", f.id.clear(); }, 121,
        "“'|”文字は使うことができません。", Field::Name},
    {"IdEmpty", [](RegistrationForm& f) { f.id.clear(), f.password.clear(); }, 117, "IDを入力してください。",
        Field::Id},
    {"IdForbidden", [](RegistrationForm& f) { f.id = "al/ice", f.password.clear(); }, 121,
        "“'/”文字は使うことができません。", Field::Id},
    {"PasswordEmpty", [](RegistrationForm& f) { f.password.clear(), f.reEntry = "x;"; }, 119,
        "パスワードを入力してください。", Field::Password},
    {"ReEntryEmpty", [](RegistrationForm& f) { f.reEntry.clear(); }, 119, "パスワードを入力してください。",
        Field::Password},
    {"PasswordsDiffer", [](RegistrationForm& f) { f.password = "a;b", f.reEntry = "a;c"; }, 120,
        "入力したパスワードが違います。", Field::Password},
    {"PasswordWithSemicolon", [](RegistrationForm& f) { f.password = f.reEntry = "se;cret"; }, 121,
        "“';”文字は使うことができません。", Field::Password},
};

void PrintTo(const TypedCase& typedCase, std::ostream* out)
{
    *out << typedCase.what;
}

class TypedFieldChecks : public testing::TestWithParam<TypedCase>
{
};

TEST_P(TypedFieldChecks, FirstFailureGivesItsTextAndFocus)
{
    RegistrationForm form = ValidForm();
    GetParam().edit(form);
    const auto failure = CheckTypedFields(form);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message.stringId, GetParam().stringId);
    EXPECT_EQ(failure->message.text, GetParam().text);
    EXPECT_EQ(failure->focus, GetParam().focus);
    EXPECT_TRUE(failure->boxText.empty());
}

INSTANTIATE_TEST_SUITE_P(InOrder, TypedFieldChecks, testing::ValuesIn(kTypedCases),
    [](const auto& info) { return std::string(info.param.what); });

TEST(ForbiddenCharacters, EachIsNamedInTheMessage)
{
    for (const char c : std::string(kForbiddenCharacters)) {
        RegistrationForm form = ValidForm();
        form.name = std::string("a") + c + "b";
        const auto failure = CheckTypedFields(form);
        ASSERT_TRUE(failure.has_value()) << c;
        EXPECT_EQ(failure->message.text, std::string("“'") + c + "”文字は使うことができません。");
    }
    EXPECT_EQ(FirstForbiddenCharacter("a.b-c_d e@f"), std::nullopt);
    EXPECT_EQ(FirstForbiddenCharacter("x?y*"), '?');
}

class StoreChecks : public UserStoresTest
{
protected:
    std::optional<CheckFailure> Check(const RegistrationForm& form, bool ntFamily = true)
    {
        return CheckRegistration(form, m_users, m_accounts, ntFamily);
    }
};

TEST_F(StoreChecks, AValidNewUserWithoutAccountPasses)
{
    EXPECT_EQ(Check(ValidForm()), std::nullopt);
}

TEST_F(StoreChecks, AnAccountRefusesAnotherPasswordWithTextAndBox)
{
    AddAccount("alice", "other");
    const auto failure = Check(ValidForm());
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message, (Message {144, "入力したパスワードが違います。"}));
    EXPECT_EQ(failure->focus, Field::Password);
    EXPECT_EQ(failure->boxText,
        "入力したパスワードはローカルアドミニストレーターのパスワードと異なります。\n正しいパスワードを入力して"
        "ください。");
    EXPECT_TRUE(PasswordIs("alice", "other"));
}

TEST_F(StoreChecks, AnAccountWithTheTypedPasswordPassesUnchanged)
{
    AddAccount("alice", "secret");
    EXPECT_EQ(Check(ValidForm()), std::nullopt);
    EXPECT_TRUE(PasswordIs("alice", "secret"));
}

TEST_F(StoreChecks, AProgramUsersAccountMustHaveHisStoredPassword)
{
    AddProgramUser("alice", kGeneralGroup, "aaj", "stored");
    AddAccount("alice", "stored");
    RegistrationForm form = ValidForm();
    form.mode = kModeExistingId;
    EXPECT_EQ(Check(form), std::nullopt) << "the typed new password is not the account's yet";

    std::string error;
    ASSERT_EQ(m_accounts.AccountChangePassword("alice", "stored", "drifted", error), 1);
    ASSERT_TRUE(Check(form).has_value());
    EXPECT_EQ(Check(form)->message.stringId, 144);
}

TEST_F(StoreChecks, OnlyTheFirstRegistrationMayGiveAPasswordlessAccountItsPassword)
{
    // A new account database holds an Administrator nobody has given a password yet.
    RegistrationForm form = ValidForm();
    form.id = "Administrator";
    ASSERT_TRUE(HasNoPassword(m_accounts, "Administrator"));
    ASSERT_TRUE(Check(form).has_value()) << "outside the first run the account's password must be known";
    EXPECT_EQ(Check(form)->message.stringId, 144);

    form.firstRun = true;
    EXPECT_EQ(Check(form), std::nullopt);
    EXPECT_TRUE(HasNoPassword(m_accounts, "Administrator")) << "checking changes nothing";

    AddAccount("carol", "hers");
    form.id = "carol";
    ASSERT_TRUE(Check(form).has_value()) << "an account with a password keeps needing it, first run or not";
    EXPECT_FALSE(HasNoPassword(m_accounts, "carol"));
}

TEST_F(StoreChecks, OutsideTheNtFamilyAccountsAreNotAsked)
{
    AddAccount("alice", "other");
    EXPECT_EQ(Check(ValidForm(), false), std::nullopt);
}

TEST_F(StoreChecks, RegisteringAKnownIdIsRefusedWhateverItsCase)
{
    AddProgramUser("Alice", kGeneralGroup);
    const auto failure = Check(ValidForm(), false);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message, (Message {133, "すでに登録されたIDです。"}));
    EXPECT_EQ(failure->focus, Field::Id);
}

TEST_F(StoreChecks, ChangingAnUnknownIdIsRefusedUnlessAnAccountIsTakenOver)
{
    RegistrationForm form = ValidForm();
    form.mode = kModeExistingId;
    const auto failure = Check(form, false);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message, (Message {134, "登録されてないIDです。"}));
    EXPECT_EQ(failure->focus, Field::Id);

    form.presetAccount = "alice";
    EXPECT_EQ(Check(form, false), std::nullopt);
}

TEST_F(StoreChecks, TypedFieldsAreCheckedBeforeTheStores)
{
    AddProgramUser("alice", kGeneralGroup);
    AddAccount("alice", "other");
    RegistrationForm form = ValidForm();
    form.reEntry = "secreT";
    EXPECT_EQ(Check(form)->message.stringId, 120);
    form.reEntry = form.password;
    EXPECT_EQ(Check(form)->message.stringId, 144) << "the account check comes before the ID check";
}

} // namespace
} // namespace deskwarden::test
