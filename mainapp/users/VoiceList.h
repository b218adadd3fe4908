#pragma once

#include "users/UserProcedures.h"

#include <string>
#include <vector>

class CAppUserDic;
class CSetupFile;

namespace deskwarden::users {

/** The page shows at most this many of a user's voices. */
inline constexpr std::size_t kShownVoices = 6;

/** The words of user `id`'s first six voices as the page shows them (a voice without a word shows ""). */
std::vector<std::string> ShownVoiceWords(const CAppUserDic& users, const CSetupFile& setup, const std::string& id);

/** DeleteVoice for the voice the page shows as `word`, translated back to its stored name. */
Outcome DeleteShownVoice(
    const std::string& id, const std::string& word, const CSetupFile& setup, const UserStores& stores) noexcept;

} // namespace deskwarden::users
