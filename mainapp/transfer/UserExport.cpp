#include "transfer/UserExport.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "AtomicFile.h"

#include <platform/BoundaryGuard.h>
#include <platform/SystemInformation.h>

#include <filesystem>

namespace deskwarden::transfer {
namespace {

std::string UpperAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

/** The model of voice `nick` as the voice dictionary hands it out; no copy stays in the work folder. */
bool ReadModel(const std::string& id, const std::string& key, const std::string& nick, const users::UserStores& stores,
    std::string& model, std::string& path, std::string& error)
{
    path = stores.voices.GetWorkFolder() + nick + ".bin";
    std::error_code ignored;
    std::filesystem::remove(path, ignored); // a model left by an earlier run must not travel as this one
    const bool written = stores.voices.GetUserVoice(id, key, nick) == 1;
    const bool read = written && talk::ReadWholeFile(path, model, error);
    std::filesystem::remove(path, ignored);
    if (!written) {
        error = stores.voices.GetLastErrorText();
    }
    return read;
}

bool Build(const std::string& id, const LocalIdentity& from, const users::UserStores& stores, TransferMessage& message,
    std::string& failedPath, std::string& error)
{
    CAppUserDic::USER_DICTIONARY info;
    if (stores.users.GetUserInfo(id, info) != 1) {
        error = "no user \"" + id + "\"";
        return false;
    }
    TransferMessage built {
        from.host, from.address, info.name, info.id, info.certiKey, info.password, info.voiceList, {}};
    const std::vector<std::string> nicks = VoiceNames(info.voiceList);
    for (std::size_t i = 0; i < ModelCount(info.voiceList); ++i) {
        if (!ReadModel(info.id, info.certiKey, nicks[i], stores, built.models.emplace_back(), failedPath, error)) {
            return false;
        }
    }
    message = std::move(built);
    return true;
}

} // namespace

LocalIdentity ThisComputer()
{
    const std::string host = platform::HostName();
    return {UpperAscii(host), host.empty() ? std::string() : platform::FirstIPv4Address(host)};
}

bool BuildMessage(const std::string& id, const LocalIdentity& from, const users::UserStores& stores,
    TransferMessage& message, std::string& failedPath, std::string& error) noexcept
{
    return platform::Guarded(false, error, [&] { return Build(id, from, stores, message, failedPath, error); });
}

} // namespace deskwarden::transfer
