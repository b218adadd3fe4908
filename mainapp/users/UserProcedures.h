#pragma once

#include "users/RegistrationForm.h"
#include "users/UserStores.h"
#include "users/UserStrings.h"
#include "users/VoiceDialogRunner.h"

#include <string>

namespace deskwarden::users {

/** How a procedure ended: `done` when it changed the stores, and the text to show (empty for none). */
struct Outcome
{
    bool done = false;
    Message message;
    bool offerBypassKey = false; // registration with the logon permission: ask for a by-pass key next
};

/**
 * Registers the user of a checked form: enrols his first word and tests the model, then creates or
 * updates his local account (NT family; its failures do not stop the registration), adds him to the
 * user and voice dictionaries with the enrolled word. A failed enrolment or model test leaves no user.
 */
Outcome RegisterUser(const RegistrationForm& form, const UserStores& stores, VoiceDialogRunner& voice) noexcept;

/** Stores the changed information of an existing user; the last administrator keeps his group. */
Outcome ChangeUser(const RegistrationForm& form, const UserStores& stores) noexcept;

/** Deletes user `id` (asked and allowed before): his account, his record and his voice slot. */
Outcome DeleteUser(const std::string& id, const UserStores& stores) noexcept;

/** After a check of the user's voice, enrols and tests a new word and adds it to user `id`. */
Outcome AddVoice(const std::string& id, const UserStores& stores, VoiceDialogRunner& voice) noexcept;

/** Deletes the stored voice `nick` of user `id` unless it is his last. */
Outcome DeleteVoice(const std::string& id, const std::string& nick, const UserStores& stores) noexcept;

} // namespace deskwarden::users
