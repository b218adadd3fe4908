#include "users/VoiceList.h"

#include "AppUserDic.h"
#include "Setup/SetupFile.h"

#include <sstream>

namespace deskwarden::users {

std::vector<std::string> ShownVoiceWords(const CAppUserDic& users, const CSetupFile& setup, const std::string& id)
{
    std::vector<std::string> words;
    std::istringstream list(users.GetVoiceList(id));
    std::string name;
    while (words.size() < kShownVoices && std::getline(list, name, ',')) {
        words.push_back(setup.GetAuthWord(name));
    }
    return words;
}

Outcome DeleteShownVoice(
    const std::string& id, const std::string& word, const CSetupFile& setup, const UserStores& stores) noexcept
{
    try {
        return DeleteVoice(id, setup.GetAuthNick(word), stores);
    } catch (...) {
        return {};
    }
}

} // namespace deskwarden::users
