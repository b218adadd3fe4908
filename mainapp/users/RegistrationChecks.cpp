#include "users/RegistrationChecks.h"

#include "AppUserDic.h"
#include "SystemUser.h"

namespace deskwarden::users {
namespace {

std::optional<CheckFailure> Fail(Message message, Field focus)
{
    return CheckFailure {std::move(message), focus, {}};
}

std::optional<CheckFailure> CheckName(const std::string& name)
{
    if (name.empty()) {
        return Fail(StringMessage(kNameMissing), Field::Name);
    }
    if (const auto c = FirstForbiddenCharacter(name)) {
        return Fail(ForbiddenCharacterMessage(*c), Field::Name);
    }
    return std::nullopt;
}

std::optional<CheckFailure> CheckId(const std::string& id)
{
    if (id.empty()) {
        return Fail(StringMessage(kIdMissing), Field::Id);
    }
    if (const auto c = FirstForbiddenCharacter(id)) {
        return Fail(ForbiddenCharacterMessage(*c), Field::Id);
    }
    return std::nullopt;
}

std::optional<CheckFailure> CheckPassword(const std::string& password, const std::string& reEntry)
{
    if (password.empty() || reEntry.empty()) {
        return Fail(StringMessage(kPasswordMissing), Field::Password);
    }
    if (password != reEntry) {
        return Fail(StringMessage(kPasswordsDiffer), Field::Password);
    }
    if (const auto c = FirstForbiddenCharacter(password)) {
        return Fail(ForbiddenCharacterMessage(*c), Field::Password);
    }
    return std::nullopt;
}

std::optional<CheckFailure> CheckAccountPassword(
    const RegistrationForm& form, const CAppUserDic& users, CSystemUser& accounts)
{
    std::string error;
    if (accounts.AccountExist(form.id, error) != 1) {
        return std::nullopt;
    }
    // Changing the password to itself proves it without touching the account.
    const std::string current = ExpectedAccountPassword(users, form.id, form.password);
    if (accounts.AccountChangePassword(form.id, current, current, error) == 1) {
        return std::nullopt;
    }
    if (form.firstRun && HasNoPassword(accounts, form.id)) {
        return std::nullopt;
    }
    return CheckFailure {StringMessage(kAccountPasswordWrong), Field::Password, kAccountPasswordBox};
}

std::optional<CheckFailure> CheckIdKnown(const RegistrationForm& form, const CAppUserDic& users)
{
    const bool known = users.VerifyUserInfo(form.id) != -1;
    if (form.mode == kModeNewUser && known) {
        return Fail(StringMessage(kIdAlreadyRegistered), Field::Id);
    }
    if (form.mode == kModeExistingId && form.presetAccount.empty() && !known) {
        return Fail(StringMessage(kIdNotRegistered), Field::Id);
    }
    return std::nullopt;
}

} // namespace

std::optional<char> FirstForbiddenCharacter(const std::string& text)
{
    const auto at = text.find_first_of(kForbiddenCharacters);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    return text[at];
}

std::optional<CheckFailure> CheckTypedFields(const RegistrationForm& form)
{
    if (auto failure = CheckName(form.name)) {
        return failure;
    }
    if (auto failure = CheckId(form.id)) {
        return failure;
    }
    return CheckPassword(form.password, form.reEntry);
}

std::optional<CheckFailure> CheckRegistration(
    const RegistrationForm& form, const CAppUserDic& users, CSystemUser& accounts, bool ntFamily)
{
    if (auto failure = CheckTypedFields(form)) {
        return failure;
    }
    if (ntFamily) {
        if (auto failure = CheckAccountPassword(form, users, accounts)) {
            return failure;
        }
    }
    return CheckIdKnown(form, users);
}

bool HasNoPassword(CSystemUser& accounts, const std::string& id)
{
    std::string error;
    return accounts.AccountChangePassword(id, "", "", error) == 1;
}

std::string ExpectedAccountPassword(const CAppUserDic& users, const std::string& id, const std::string& typed)
{
    return users.VerifyUserInfo(id) == -1 ? typed : users.GetPassWord(id);
}

} // namespace deskwarden::users
