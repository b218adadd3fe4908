#include "transfer/UserImport.h"

#include "users/ManagementRules.h"
#include "users/UserStrings.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "AtomicFile.h"
#include "SystemUser.h"
#include "VoiceDicLayout.h"

#include <platform/BoundaryGuard.h>

#include <cstdio>
#include <filesystem>

namespace deskwarden::transfer {
namespace {

constexpr int kGeneralGroup = 1;
constexpr const char* kUsersGroup = "Users";

bool HasSeparator(const std::string& text)
{
    return text.find(';') != std::string::npos;
}

void Replace(const std::string& id, const users::UserStores& stores)
{
    std::string ignored;
    if (stores.ntFamily) {
        stores.accounts.AccountDelete(id, ignored);
    }
    const std::string key = stores.users.GetCertiKey(id);
    stores.users.DelUserWholeInfo(id);
    stores.voices.DelUser(id, key);
}

/** The account only mirrors the program user; a failure here leaves the voice logon usable. */
bool CreateAccount(const TransferMessage& message, const users::UserStores& stores)
{
    std::string error;
    if (stores.accounts.AccountCreate(message.id, message.password, error) != 1) {
        return false;
    }
    if (stores.accounts.AccountEnable(message.id, 0, error) == 1) {
        stores.accounts.AccountInsertInGroup(message.id, kUsersGroup, error);
    }
    return true;
}

void TakeBack(const TransferMessage& message, const users::UserStores& stores, bool accountCreated)
{
    std::string ignored;
    stores.users.DelUserWholeInfo(message.id);
    stores.voices.DelUser(message.id, message.certiKey);
    if (accountCreated) {
        stores.accounts.AccountDelete(message.id, ignored);
    }
}

bool StoreModel(const TransferMessage& message, const std::string& nick, const std::string& model,
    const users::UserStores& stores, ImportResult& result)
{
    const std::string path = stores.voices.GetWorkFolder() + nick + ".bin";
    if (!talk::ReplaceFileAtomically(path, model, result.error)) {
        result.failedPath = path;
        return false;
    }
    const bool stored = stores.voices.SetUserVoice(message.id, message.certiKey, nick) == 1;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    if (!stored) {
        result.error = stores.voices.GetLastErrorText();
    }
    return stored;
}

bool AddVoices(const TransferMessage& message, const users::UserStores& stores, ImportResult& result)
{
    const std::vector<std::string> nicks = VoiceNames(message.voiceList);
    for (std::size_t i = 0; i < message.models.size(); ++i) {
        if (i > 0 && stores.users.SetNick(message.id, nicks[i]) != 1) {
            result.error = stores.users.GetLastErrorText();
            return false;
        }
        if (!StoreModel(message, nicks[i], message.models[i], stores, result)) {
            return false;
        }
        ++result.models;
    }
    return true;
}

/**
 * The user page's rules hold for a received user too: the built-in Administrator is never deleted, and
 * the last administrator is never replaced by a general user without rights, which would leave nobody able
 * to open the settings.
 */
bool ProtectedFromReplacement(const std::string& id, const CAppUserDic& users, std::string& error)
{
    if (users::IsAdministratorId(id)) {
        error = users::kAdministratorUndeletable;
        return true;
    }
    CAppUserDic::USER_DICTIONARY info;
    if (users.GetUserInfo(id, info) == 1 && info.group == 0 && !users::HasAnotherAdministrator(users, id)) {
        error = users::kLastAdministrator;
        return true;
    }
    return false;
}

ImportResult Import(const TransferMessage& message, const users::UserStores& stores)
{
    ImportResult result;
    if (!IsImportable(message, result.error)) {
        return result;
    }
    if (ProtectedFromReplacement(message.id, stores.users, result.error)) {
        return result;
    }
    if (stores.users.VerifyUserInfo(message.id) >= 0) {
        Replace(message.id, stores);
        result.replaced = true;
    }
    const bool accountCreated = stores.ntFamily && CreateAccount(message, stores);
    const std::vector<std::string> nicks = VoiceNames(message.voiceList);
    const std::string first = nicks.empty() ? std::string() : nicks.front();
    if (stores.users.CreateUser(
            message.name, message.id, message.certiKey, message.password, kGeneralGroup, 0, 0, 0, first)
        != 1) {
        result.error = stores.users.GetLastErrorText();
        TakeBack(message, stores, accountCreated);
        return result;
    }
    if (stores.voices.AddUser(message.id, message.certiKey) != 1) {
        result.error = stores.voices.GetLastErrorText();
        TakeBack(message, stores, accountCreated);
        return result;
    }
    if (!AddVoices(message, stores, result)) {
        result.models = 0;
        TakeBack(message, stores, accountCreated);
        return result;
    }
    result.imported = true;
    return result;
}

} // namespace

bool IsImportable(const TransferMessage& message, std::string& error)
{
    if (message.id.empty() || message.certiKey.empty()) {
        error = "the message names no user";
        return false;
    }
    for (const std::string* text : {&message.id, &message.name, &message.certiKey, &message.password}) {
        if (HasSeparator(*text)) {
            error = "a field of user \"" + message.id + "\" holds ';'";
            return false;
        }
    }
    if (message.models.size() != ModelCount(message.voiceList)) {
        error = "the models do not match the voice list";
        return false;
    }
    const std::vector<std::string> nicks = VoiceNames(message.voiceList);
    for (std::size_t i = 0; i < message.models.size(); ++i) {
        if (talk::voice_dic_layout::SectionIndex(nicks[i]) < 0) {
            error = "\"" + nicks[i] + "\" is none of the six voice names";
            return false;
        }
    }
    return true;
}

ImportResult ImportUser(const TransferMessage& message, const users::UserStores& stores) noexcept
{
    ImportResult failed;
    return platform::GuardedOr([&] { return Import(message, stores); },
        [&] {
            failed.error = platform::CurrentExceptionText();
            return failed;
        });
}

} // namespace deskwarden::transfer
