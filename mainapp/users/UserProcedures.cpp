#include "users/UserProcedures.h"

#include "users/ManagementRules.h"
#include "users/RegistrationChecks.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "SystemUser.h"

namespace deskwarden::users {
namespace {

constexpr const char* kAdministratorsGroup = "Administrators";
constexpr const char* kUsersGroup = "Users";

const char* WindowsGroup(int group)
{
    return group == kAdministratorGroup ? kAdministratorsGroup : kUsersGroup;
}

Outcome Failed(Message message)
{
    return {false, std::move(message), false};
}

Outcome EnrolmentFailed(const UserStores& stores, const std::string& nick)
{
    RemoveTemporaryModel(stores, nick);
    return Failed(StringMessage(kEnrolmentFailed));
}

// Account failures are deliberately not reported: the program user is what the voice logon needs first.
void CreateOrUpdateAccount(const RegistrationForm& form, const UserStores& stores)
{
    std::string error;
    int ready = 0;
    if (stores.accounts.AccountExist(form.id, error) == 1) {
        const std::string current = form.RegistersPresetAccount()
            ? form.password
            : ExpectedAccountPassword(stores.users, form.id, form.password);
        ready = stores.accounts.AccountChangePassword(form.id, current, form.password, error);
        if (ready != 1 && form.firstRun && HasNoPassword(stores.accounts, form.id)) {
            ready = stores.accounts.AccountChangePassword(form.id, "", form.password, error);
        }
    } else {
        ready = stores.accounts.AccountCreate(form.id, form.password, error);
    }
    if (ready == 1 && stores.accounts.AccountEnable(form.id, form.logon ? 1 : 0, error) == 1) {
        stores.accounts.AccountInsertInGroup(form.id, WindowsGroup(form.group), error);
    }
}

void UpdateAccount(const RegistrationForm& form, const std::string& storedPassword, const UserStores& stores)
{
    std::string error;
    const bool enabled = stores.accounts.AccountEnable(form.id, form.logon ? 1 : 0, error) == 1;
    const int other = form.group == kAdministratorGroup ? kGeneralGroup : kAdministratorGroup;
    stores.accounts.AccountDeleteInGroup(form.id, WindowsGroup(other), error);
    stores.accounts.AccountInsertInGroup(form.id, WindowsGroup(form.group), error);
    if (enabled) {
        stores.accounts.AccountChangePassword(form.id, storedPassword, form.password, error);
    }
}

VoiceReply EnrolAndTest(const std::string& id, VoiceDialogRunner& voice, bool& accepted)
{
    VoiceRequest enrol;
    enrol.mode = kVoiceEnrol;
    enrol.userId = id;
    const VoiceReply enrolled = voice.Run(enrol);
    accepted = false;
    if (enrolled.result != kVoiceAccepted) {
        return enrolled;
    }
    VoiceRequest test = enrol;
    test.mode = kVoiceVerify;
    test.verifyRepeat = 8;
    test.word = enrolled.word;
    test.nick = enrolled.nick;
    accepted = voice.Run(test).result == kVoiceAccepted;
    return enrolled;
}

bool StoreModel(const std::string& id, const std::string& nick, const UserStores& stores)
{
    const std::string key = stores.users.GetCertiKey(id);
    return stores.voices.SetUserVoice(id, key, nick) == 1;
}

Outcome Register(const RegistrationForm& form, const UserStores& stores, VoiceDialogRunner& voice)
{
    bool accepted = false;
    const VoiceReply enrolled = EnrolAndTest(form.id, voice, accepted);
    if (!accepted) {
        return EnrolmentFailed(stores, enrolled.nick);
    }
    if (stores.ntFamily) {
        CreateOrUpdateAccount(form, stores);
    }
    if (stores.users.CreateUser(
            form.name, form.id, "", form.password, form.group, form.logon, form.encrypt, form.decrypt, enrolled.nick)
        != 1) {
        return EnrolmentFailed(stores, enrolled.nick);
    }
    const std::string key = stores.users.GetCertiKey(form.id);
    const bool stored = stores.voices.AddUser(form.id, key) == 1 && StoreModel(form.id, enrolled.nick, stores);
    RemoveTemporaryModel(stores, enrolled.nick);
    if (!stored) {
        // A user without his model could never log on; take the record back so no half user stays.
        stores.users.DelUserWholeInfo(form.id);
        stores.voices.DelUser(form.id, key);
        return Failed(StringMessage(kEnrolmentFailed));
    }
    return {true, StringMessage(kRegistrationDone), form.logon};
}

Outcome Change(const RegistrationForm& form, const UserStores& stores)
{
    if (auto refusal = RefuseGroupChange(stores.users, form.id, form.group)) {
        return Failed({0, *refusal});
    }
    if (stores.ntFamily) {
        UpdateAccount(form, stores.users.GetPassWord(form.id), stores);
    }
    if (stores.users.SetUser(form.name, form.id, form.password, form.group, form.logon, form.encrypt, form.decrypt)
        != 1) {
        return Failed({0, stores.users.GetLastErrorText()});
    }
    return {true, StringMessage(kChangeDone), false};
}

Outcome Delete(const std::string& id, const UserStores& stores)
{
    if (stores.ntFamily) {
        std::string error;
        stores.accounts.AccountDelete(id, error);
    }
    const std::string key = stores.users.GetCertiKey(id);
    if (stores.users.DelUserWholeInfo(id) != 1) {
        return Failed({0, stores.users.GetLastErrorText()});
    }
    stores.voices.DelUser(id, key);
    return {true, {}, false};
}

bool CheckUserVoice(const std::string& id, const UserStores& stores, VoiceDialogRunner& voice)
{
    VoiceRequest check;
    check.mode = kVoiceVerify;
    check.purpose = kPurposeUser;
    check.verifyRepeat = 1;
    check.userId = id;
    const VoiceReply reply = voice.Run(check);
    RemoveTemporaryModel(stores, reply.nick);
    return reply.result == kVoiceAccepted;
}

Outcome Add(const std::string& id, const UserStores& stores, VoiceDialogRunner& voice)
{
    if (!CheckUserVoice(id, stores, voice)) {
        return {};
    }
    bool accepted = false;
    const VoiceReply enrolled = EnrolAndTest(id, voice, accepted);
    if (!accepted || stores.users.SetNick(id, enrolled.nick) != 1) {
        return EnrolmentFailed(stores, enrolled.nick);
    }
    const bool stored = StoreModel(id, enrolled.nick, stores);
    RemoveTemporaryModel(stores, enrolled.nick);
    if (!stored) {
        stores.users.DelNick(id, enrolled.nick);
        return Failed(StringMessage(kEnrolmentFailed));
    }
    return {true, StringMessage(kRegistrationDone), false};
}

Outcome DeleteOneVoice(const std::string& id, const std::string& nick, const UserStores& stores)
{
    if (auto refusal = RefuseVoiceDeletion(stores.users, id)) {
        return Failed({0, *refusal});
    }
    if (stores.users.DelNick(id, nick) != 1) {
        return Failed({0, stores.users.GetLastErrorText()});
    }
    stores.voices.DelUserVoice(id, stores.users.GetCertiKey(id), nick);
    return {true, {}, false};
}

template<class Procedure> Outcome Guarded(Procedure&& procedure) noexcept
{
    try {
        return procedure();
    } catch (...) {
        return {};
    }
}

} // namespace

Outcome RegisterUser(const RegistrationForm& form, const UserStores& stores, VoiceDialogRunner& voice) noexcept
{
    return Guarded([&] { return Register(form, stores, voice); });
}

Outcome ChangeUser(const RegistrationForm& form, const UserStores& stores) noexcept
{
    return Guarded([&] { return Change(form, stores); });
}

Outcome DeleteUser(const std::string& id, const UserStores& stores) noexcept
{
    return Guarded([&] { return Delete(id, stores); });
}

Outcome AddVoice(const std::string& id, const UserStores& stores, VoiceDialogRunner& voice) noexcept
{
    return Guarded([&] { return Add(id, stores, voice); });
}

Outcome DeleteVoice(const std::string& id, const std::string& nick, const UserStores& stores) noexcept
{
    return Guarded([&] { return DeleteOneVoice(id, nick, stores); });
}

} // namespace deskwarden::users
