#pragma once

#include "../users/UsersTestSupport.h"

#include "settings/SettingsContext.h"
#include "settings/SettingsPrompts.h"

#include "MessageService.h"
#include "Setup/SetupFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <fstream>
#include <stdexcept>

namespace deskwarden::test {

/** Records every message box with its caption and answers questions from a script (No when it runs out). */
class RecordedMessages final : public CMessageService
{
public:
    struct Box
    {
        std::string caption;
        std::string text;
        MessageIcon icon;
    };

    RecordedMessages() { CMessageService::Install(this); }
    ~RecordedMessages() override { CMessageService::Install(nullptr); }

    void Answer(bool yes) { m_answers.push_back(yes); }
    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept override
    {
        boxes.push_back({caption, text, icon});
    }
    bool AskYesNo(const std::string&, const std::string& text) noexcept override
    {
        questions.push_back(text);
        if (m_answers.empty())
            return false;
        const bool yes = m_answers.front();
        m_answers.pop_front();
        return yes;
    }

    std::vector<Box> boxes;
    std::vector<std::string> questions;

private:
    std::deque<bool> m_answers;
};

/** An installation with two skins, users' stores, scripted boxes and prompts, in a fresh system root. */
class SettingsWindowTest : public UserStoresTest
{
protected:
    void SetUp() override
    {
        UserStoresTest::SetUp();
        std::ofstream(m_folder + "/halvox.ini") << "[WORD_LIST]\naaj=Sesame\nabj=Harbour\n"
                                                << "[VOICE_RECOG_DLL]\nSkin=default\nSkinList=default,plain\n";
        std::filesystem::create_directories(m_folder + "/skin/default");
        std::filesystem::copy_file(
            std::string(WARDEN_DATA_FOLDER) + "/skin/default/normal.jpg", m_folder + "/skin/default/normal.jpg");
        ASSERT_EQ(m_setup.SetAppPath(m_folder), 1);
        ASSERT_EQ(m_setup.Initialize(), 1);
        m_voice = std::make_unique<ScriptedVoiceDialog>(WorkFolder());
        m_stores = std::make_unique<UserStores>(Stores());
        settings::Prompts().chooseFolder = [this](QWidget*, const std::string& prompt) {
            prompts.push_back(prompt);
            return folderAnswer;
        };
        settings::Prompts().chooseMenuItem = [this](QWidget*, const std::vector<std::string>& items) {
            menus.push_back(items);
            return menuAnswer;
        };
    }

    void TearDown() override
    {
        settings::RestoreDefaultPrompts();
        UserStoresTest::TearDown();
    }

    settings::SettingsContext Context()
    {
        return {m_setup, *m_stores, {true, Path("system"), Path("bin")}, Path("windows")};
    }

    template<class Widget = QWidget> static Widget& Control(QWidget& window, const char* id)
    {
        auto* control = window.findChild<Widget*>(id);
        if (control == nullptr) {
            ADD_FAILURE() << "no control " << id;
            throw std::runtime_error("missing control");
        }
        return *control;
    }

    static void Click(QWidget& window, const char* id) { Control<QAbstractButton>(window, id).click(); }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : m_messages.boxes)
            texts.push_back(box.text);
        return texts;
    }

    CSetupFile m_setup;
    std::unique_ptr<ScriptedVoiceDialog> m_voice;
    std::unique_ptr<UserStores> m_stores;
    RecordedMessages m_messages;
    std::string folderAnswer;
    int menuAnswer = -1;
    std::vector<std::string> prompts;
    std::vector<std::vector<std::string>> menus;
};

} // namespace deskwarden::test
