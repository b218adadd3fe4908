#pragma once

#include "users/RegistrationForm.h"
#include "users/UserStores.h"
#include "users/VoiceDialogRunner.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "SystemUser.h"

#include "../../support/FreshRootTest.h"

#include <platform/Accounts.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace deskwarden::test {

using namespace deskwarden::users;

/** Plays the voice dialog from a script; an accepted enrolment leaves a model file as the real one does. */
class ScriptedVoiceDialog : public VoiceDialogRunner
{
public:
    explicit ScriptedVoiceDialog(std::string workFolder)
        : m_workFolder(std::move(workFolder))
    {
    }

    void Then(int result, std::string word = "Open sesame", std::string nick = "aaj", std::string userId = "")
    {
        m_replies.push_back({result, std::move(word), std::move(nick), std::move(userId)});
    }

    VoiceReply Run(const VoiceRequest& request) override
    {
        m_requests.push_back(request);
        if (m_replies.empty()) {
            ADD_FAILURE() << "the voice dialog was shown more often than scripted";
            return {};
        }
        VoiceReply reply = m_replies.front();
        m_replies.pop_front();
        if (request.mode == kVoiceEnrol && !reply.nick.empty()) {
            std::ofstream(ModelPath(reply.nick), std::ios::binary) << "model of " << request.userId;
        }
        return reply;
    }

    std::string ModelPath(const std::string& nick) const { return m_workFolder + nick + ".bin"; }
    const std::vector<VoiceRequest>& Requests() const { return m_requests; }
    bool Finished() const { return m_replies.empty(); }

private:
    std::string m_workFolder;
    std::deque<VoiceReply> m_replies;
    std::vector<VoiceRequest> m_requests;
};

/** An installation in a fresh system root: user and voice dictionaries and the account stand-in. */
class UserStoresTest : public warden::test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        m_folder = Path("program");
        std::filesystem::create_directories(m_folder + "/work");
        ASSERT_EQ(m_users.SetUserDicFilePath(m_folder + "/halvoxuid.dat"), 1);
        ASSERT_EQ(m_voices.SetVoiceDicPath(m_folder), 1);
    }

    UserStores Stores(bool ntFamily = true) { return {m_users, m_voices, m_accounts, ntFamily}; }

    void AddProgramUser(
        const std::string& id, int group, const std::string& voices = "aaj", const std::string& password = "pw")
    {
        ASSERT_EQ(m_users.CreateUser("Name of " + id, id, "", password, group, 1, 1, 1, voices), 1);
        ASSERT_EQ(m_voices.AddUser(id, m_users.GetCertiKey(id)), 1);
    }

    void AddAccount(const std::string& id, const std::string& password)
    {
        std::string error;
        ASSERT_EQ(m_accounts.AccountCreate(id, password, error), 1) << error;
    }

    bool AccountExists(const std::string& id)
    {
        std::string error;
        return m_accounts.AccountExist(id, error) == 1;
    }

    bool AccountEnabled(const std::string& id)
    {
        std::uint8_t* buffer = nullptr;
        bool enabled = false;
        if (platform::NetUserGetInfo(nullptr, id.c_str(), 1, &buffer) == platform::NERR_Success) {
            enabled
                = (reinterpret_cast<const platform::USER_INFO_1*>(buffer)->usri1_flags & platform::UF_ACCOUNTDISABLE)
                == 0;
        }
        platform::NetApiBufferFree(buffer);
        return enabled;
    }

    int Privilege(const std::string& id)
    {
        std::string error;
        return m_accounts.AccountGetInfo(id, error);
    }

    bool PasswordIs(const std::string& id, const std::string& password)
    {
        std::string error;
        return m_accounts.AccountChangePassword(id, password, password, error) == 1;
    }

    bool HasVoiceSlot(const std::string& id, const std::string& key)
    {
        return m_voices.FindIDPos(id, key, m_folder + "/halvoxuvd.dat") >= 0;
    }

    std::string WorkFolder() const { return m_folder + "/work/"; }

    std::string m_folder;
    CAppUserDic m_users;
    CAppUserVoiceDic m_voices;
    CSystemUser m_accounts;
};

/** A form that passes every check for a new user "alice". */
inline RegistrationForm ValidForm()
{
    RegistrationForm form;
    form.name = "Alice";
    form.id = "alice";
    form.password = "secret";
    form.reEntry = "secret";
    form.group = kGeneralGroup;
    form.logon = true;
    form.encrypt = true;
    return form;
}

} // namespace deskwarden::test
