#include "voice/VoiceEnrolment.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"

#include "platform/BoundaryGuard.h"

#include <filesystem>

namespace talk::voice {
namespace {

// SetNick appends "," + nick, which would leave an empty first entry in a user's first word.
int AddToVoiceList(CAppUserDic& users, const std::string& id, const std::string& nick)
{
    if (users.GetVoiceList(id).empty())
        return users.SetVoiceList(id, nick);
    return users.SetNick(id, nick);
}

bool Store(
    CAppUserDic& users, CAppUserVoiceDic& voices, const std::string& id, const std::string& nick, std::string& error)
{
    if (users.VerifyUserInfo(id) == -1) {
        error = "the user " + id + " is not in the user dictionary";
        return false;
    }
    const std::string key = users.GetCertiKey(id);
    if (voices.FindIDPos(id, key, voices.GetVoiceDicPath()) < 0 && voices.AddUser(id, key) == 0) {
        error = "no slot for " + id + " in the voice dictionary";
        return false;
    }
    if (voices.SetUserVoice(id, key, nick) == 0) {
        error = "the model " + nick + " could not be stored in the voice dictionary";
        return false;
    }
    // Listed only once its model is stored: a listed word without a model could never be verified.
    if (users.VerifyNick(id, nick) == -1 && AddToVoiceList(users, id, nick) == 0) {
        error = "the word " + nick + " could not be added to the voice list: " + users.GetLastErrorText();
        return false;
    }
    std::error_code ignored;
    std::filesystem::remove(voices.GetWorkFolder() + nick + ".bin", ignored);
    return true;
}

} // namespace

bool StoreEnrolledVoice(CAppUserDic& users, CAppUserVoiceDic& voices, const std::string& id, const std::string& nick,
    std::string& error) noexcept
{
    return platform::Guarded(false, error, [&] { return Store(users, voices, id, nick, error); });
}

} // namespace talk::voice
