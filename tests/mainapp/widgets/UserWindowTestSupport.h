#pragma once

#include "../users/UsersTestSupport.h"

#include "users/UserStrings.h"

#include "MessageService.h"
#include "Setup/SetupFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace deskwarden::test {

/** Takes the message boxes of the class library's service: records them and answers questions from a script. */
class ScriptedMessages final : public CMessageService
{
public:
    struct Box
    {
        std::string caption;
        std::string text;
        MessageIcon icon;
    };

    ScriptedMessages() { CMessageService::Install(this); }
    ~ScriptedMessages() override { CMessageService::Install(nullptr); }

    void Answer(bool yes) { m_answers.push_back(yes); }

    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept override
    {
        EXPECT_EQ(caption, kProductCaption) << text;
        m_boxes.push_back({caption, text, icon});
    }

    bool AskYesNo(const std::string& caption, const std::string& text) noexcept override
    {
        m_questions.push_back(text);
        if (m_answers.empty() || caption != kProductCaption) {
            ADD_FAILURE() << "unscripted or wrongly captioned question: " << text;
            return false;
        }
        const bool yes = m_answers.front();
        m_answers.pop_front();
        return yes;
    }

    /** The texts shown so far, in order. */
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const Box& box : m_boxes) {
            texts.push_back(box.text);
        }
        return texts;
    }

    const std::vector<Box>& Boxes() const { return m_boxes; }
    const std::vector<std::string>& Questions() const { return m_questions; }
    bool Finished() const { return m_answers.empty(); }

private:
    std::vector<Box> m_boxes;
    std::vector<std::string> m_questions;
    std::deque<bool> m_answers;
};

/** The stores of a fresh system root with a settings file that names the six words, and scripted boxes. */
class UserWindowTest : public UserStoresTest
{
protected:
    void SetUp() override
    {
        UserStoresTest::SetUp();
        std::ofstream(m_folder + "/halvox.ini")
            << "[WORD_LIST]\naaj=Sesame\nabj=Harbour\nacj=Lantern\nadj=Meadow\naej=Copper\nafj=Violet\n";
        ASSERT_EQ(m_setup.SetAppPath(m_folder + "/"), 1);
        ASSERT_EQ(m_setup.Initialize(), 1);
        m_voice = std::make_unique<ScriptedVoiceDialog>(WorkFolder());
        m_stores = std::make_unique<UserStores>(Stores());
    }

    void TearDown() override
    {
        EXPECT_TRUE(m_voice->Finished()) << "the voice dialog was shown less often than scripted";
        EXPECT_TRUE(m_messages.Finished()) << "fewer questions were asked than scripted";
        UserStoresTest::TearDown();
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

    static void Type(QWidget& window, const char* id, const std::string& text)
    {
        Control<QLineEdit>(window, id).setText(QString::fromStdString(text));
    }

    static std::string TextOf(QWidget& window, const char* id)
    {
        return Control<QLineEdit>(window, id).text().toStdString();
    }

    static void Click(QWidget& window, const char* id) { Control<QAbstractButton>(window, id).click(); }

    /** Runs `act` on the next modal dialog once it is shown; the test fails when none is. */
    template<class Dialog> static void OnNextDialog(std::function<void(Dialog&)> act)
    {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                ADD_FAILURE() << "no dialog was shown";
                return;
            }
            act(*dialog);
        });
    }

    CSetupFile m_setup;
    std::unique_ptr<ScriptedVoiceDialog> m_voice;
    std::unique_ptr<UserStores> m_stores;
    ScriptedMessages m_messages;
};

} // namespace deskwarden::test
