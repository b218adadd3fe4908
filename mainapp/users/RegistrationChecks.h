#pragma once

#include "users/RegistrationForm.h"
#include "users/UserStrings.h"

#include <optional>
#include <string>

class CAppUserDic;
class CSystemUser;

namespace deskwarden::users {

/** The first check that failed: its text for the message area, the field to focus, and a box text if any. */
struct CheckFailure
{
    Message message;
    Field focus = Field::None;
    std::string boxText; // shown in a message box as well; empty for none

    bool operator==(const CheckFailure&) const = default;
};

/** Characters no name, ID or password may hold: they break the account names and the stores' records. */
inline constexpr const char* kForbiddenCharacters = "\\/[]:|<>+=;,?*";

/** The first forbidden character of `text`, if any. */
std::optional<char> FirstForbiddenCharacter(const std::string& text);

/** Checks of name, ID and password that need no store, in the dialog's order. */
std::optional<CheckFailure> CheckTypedFields(const RegistrationForm& form);

/**
 * Every check made when the registration dialog's OK is pressed, in order; the first failure, or nothing
 * when the form may be acted on. On the NT family an existing account must accept the password that
 * ought to be its current one (proved by changing it to itself).
 */
std::optional<CheckFailure> CheckRegistration(
    const RegistrationForm& form, const CAppUserDic& users, CSystemUser& accounts, bool ntFamily);

/**
 * True when account `id` has never been given a password. The account database of a new installation
 * holds such an Administrator; the first registration gives it the password typed there, since nobody
 * could type the account's current one.
 */
bool HasNoPassword(CSystemUser& accounts, const std::string& id);

/** The password an existing account of `id` must have now: the stored one of a program user, else `typed`. */
std::string ExpectedAccountPassword(const CAppUserDic& users, const std::string& id, const std::string& typed);

} // namespace deskwarden::users
