#pragma once

#include <string>

namespace deskwarden::users {

/** The registration dialog's fields that can take the focus after a failed check. */
enum class Field
{
    None,
    Name,
    Id,
    Password,
};

inline constexpr int kAdministratorGroup = 0;
inline constexpr int kGeneralGroup = 1;

inline constexpr int kModeNewUser = 1;
inline constexpr int kModeExistingId = 2;

/** What the registration dialog holds when OK is pressed, with the inputs its caller gave it. */
struct RegistrationForm
{
    std::string name;
    std::string id;
    std::string password;
    std::string reEntry;
    int group = kGeneralGroup;
    bool logon = false;
    bool encrypt = false;
    bool decrypt = false;
    int mode = kModeNewUser;
    std::string presetAccount; // a local account being taken over; empty for none
    bool firstRun = false;

    /** True when an account that is not yet a program user is being registered. */
    bool RegistersPresetAccount() const { return mode == kModeExistingId && !presetAccount.empty(); }
    /** True when the form registers a user (rather than changing one). */
    bool Registers() const { return mode == kModeNewUser || RegistersPresetAccount(); }
};

} // namespace deskwarden::users
