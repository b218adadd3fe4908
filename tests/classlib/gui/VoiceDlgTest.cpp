// The voice dialog's window: its controls, what it does with the flow's actions at the start of a session,
// the ways it may and may not close, and the drive selection dialog. Whole sessions with readings run in
// tests/tools/voice_dialog_test.sh.
#include "voice/VoiceDlg.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "IniFile.h"
#include "MessageService.h"
#include "Setup/SetupFile.h"
#include "skin/SkinItemIds.h"
#include "voice/DriveList.h"
#include "voice/DriveSelectDlg.h"
#include "voice/VoiceAction.h"
#include "voice/VoiceTexts.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "../../support/FreshRootTest.h"
#include "../../support/SkinnedProgram.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using talk::voice::VoiceString;

class CapturedMessages : public CMessageService
{
public:
    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon) noexcept override
    {
        messages.emplace_back(caption, text);
    }
    std::vector<std::pair<std::string, std::string>> messages;
};

/** Lets the event loop run until `done` holds or `ms` have passed; returns whether it held. */
bool WaitFor(const std::function<bool()>& done, int ms = 3000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QTest::qWait(20);
    }
    return true;
}

/** An installation with the default skin, three words, no sounds and no mixer, in a fresh system root. */
class VoiceDlgTest : public warden::test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        warden::test::SilenceAudio();
        const std::string program = Path("program");
        warden::test::CopyDefaultSkin(CLASSLIB_DATA_DIR, program);
        ASSERT_EQ(m_setup.SetAppPath(program), 1);
        ASSERT_EQ(m_setup.Initialize(), 1);
        CIniFile ini(program + "/halvox.ini");
        ini.WriteString(CSetupFile::kSectionVoiceRecog, CSetupFile::kKeyNarration, "0");
        ini.WriteString(CSetupFile::kSectionWordList, "aaj", "ひまわり");
        ini.WriteString(CSetupFile::kSectionWordList, "abj", "さくらんぼ");
        ini.WriteString(CSetupFile::kSectionWordList, "acj", "かぶとむし");
        ASSERT_EQ(m_users.SetUserDicFilePath(program + "/halvoxuid.dat"), 1);
        ASSERT_EQ(m_voices.SetVoiceDicPath(program), 1);
        ASSERT_EQ(m_users.CreateUser("tanaka", "Tanaka", "", "secret", 0, 1, 1, 1, ""), 1);
        CMessageService::Install(&m_messages);
        m_dialog.SetupFile = &m_setup;
        m_dialog.UserDic = &m_users;
        m_dialog.VoiceDic = &m_voices;
        m_dialog.UserID = "tanaka";
    }

    void TearDown() override
    {
        CMessageService::Install(nullptr);
        warden::test::RestoreAudio();
        FreshRootTest::TearDown();
    }

    /** Shows the dialog and waits for the session's start timer to have run. */
    void ShowAndStart()
    {
        m_dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
        ASSERT_TRUE(WaitFor([this] { return m_dialog.IsWaitingForUser(); }));
    }

    QWidget* Control(const char* name) { return m_dialog.findChild<QWidget*>(name); }

    CSetupFile m_setup;
    CAppUserDic m_users;
    CAppUserVoiceDic m_voices;
    CapturedMessages m_messages;
    CVoiceDlg m_dialog;
};

TEST_F(VoiceDlgTest, EntryControlsCarryTheirIdsAndThePasswordIsHidden)
{
    EXPECT_EQ(m_dialog.objectName(), "3000");
    ASSERT_NE(m_dialog.findChild<QLineEdit*>("3001"), nullptr);
    ASSERT_NE(m_dialog.findChild<QComboBox*>("3002"), nullptr);
    auto* password = m_dialog.findChild<QLineEdit*>("3003");
    ASSERT_NE(password, nullptr);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
}

TEST_F(VoiceDlgTest, EnrolmentStartOffersTheWordsAndAsksForAChoice)
{
    m_dialog.Mode = 1;
    ShowAndStart();
    auto* words = m_dialog.findChild<QComboBox*>("3002");
    ASSERT_EQ(words->count(), 3);
    EXPECT_EQ(words->currentText().toStdString(), "ひまわり");
    EXPECT_TRUE(words->isVisible());
    EXPECT_FALSE(Control("3001")->isVisible());
    EXPECT_FALSE(Control("3003")->isVisible());
    EXPECT_EQ(m_dialog.GetText("LABEL_MODE"), talk::voice::StringText(VoiceString::ModeEnrol));
    EXPECT_EQ(m_dialog.GetText("LABEL_REPEAT"), "0 / 5");
    EXPECT_EQ(m_dialog.GetText("LABEL_HINT"), talk::voice::StringText(VoiceString::ChooseWordThenRecord));
    EXPECT_EQ(m_dialog.IsEnabled(talk::skin_item_ids::kButtonRecord), 1);
}

// The second row holds the word or the password; a caption that said "voice password" over a typed Windows
// password would mislead at every logon.
TEST_F(VoiceDlgTest, SecondRowCaptionFollowsWhatTheRowHolds)
{
    m_dialog.Mode = 2;
    m_dialog.FlowVariant.forcedAuthMethod = 2;
    ShowAndStart();
    ASSERT_TRUE(Control("3003")->isVisible());
    EXPECT_EQ(m_dialog.GetText(talk::voice::kLabelSecondCaption), talk::voice::kCaptionPassword);

    CVoiceDlg enrolment;
    enrolment.SetupFile = &m_setup;
    enrolment.UserDic = &m_users;
    enrolment.VoiceDic = &m_voices;
    enrolment.UserID = "tanaka";
    enrolment.Mode = 1;
    enrolment.show();
    ASSERT_TRUE(WaitFor([&] { return enrolment.IsWaitingForUser(); }));
    ASSERT_TRUE(enrolment.findChild<QWidget*>("3002")->isVisible());
    EXPECT_EQ(enrolment.GetText(talk::voice::kLabelSecondCaption), talk::voice::kCaptionWord);
}

TEST_F(VoiceDlgTest, EscapeAndAWindowCloseLeaveItOpen)
{
    ShowAndStart();
    QTest::keyClick(&m_dialog, Qt::Key_Escape);
    m_dialog.close();
    QTest::qWait(50);
    EXPECT_TRUE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), 0);
}

TEST_F(VoiceDlgTest, ExitWhileIdleEndsWithTwoAndKeepsTheOutputs)
{
    m_dialog.Mode = 1;
    ShowAndStart();
    m_dialog.PressButtonID(talk::skin_item_ids::kButtonExit);
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), 2);
    EXPECT_EQ(m_dialog.UserID, "tanaka");
    EXPECT_EQ(m_dialog.ModelCreated, 0);
}

TEST_F(VoiceDlgTest, RecordForAUserWithoutVoicesPromptsAndRecordsNothing)
{
    m_dialog.Mode = 2;
    m_dialog.Purpose = 4; // user management: the caller knows the user, no password step
    ShowAndStart();
    m_dialog.PressButtonID(talk::skin_item_ids::kButtonRecord);
    EXPECT_EQ(m_dialog.GetText("LABEL_HINT"), talk::voice::literal::kNoEnrolledVoice);
    EXPECT_TRUE(m_dialog.IsWaitingForUser());
    EXPECT_TRUE(m_dialog.isVisible());
}

TEST_F(VoiceDlgTest, EnterReachesTheFlowWithoutClosing)
{
    m_dialog.Mode = 2;
    m_dialog.Purpose = 4;
    ShowAndStart();
    // Enter records only after a failed password step; here it must do nothing, above all not close.
    QTest::keyClick(&m_dialog, Qt::Key_Return);
    QTest::qWait(50);
    EXPECT_TRUE(m_dialog.isVisible());
    EXPECT_TRUE(m_dialog.IsWaitingForUser());
}

TEST_F(VoiceDlgTest, WithoutStoresItSaysSoAndClosesItself)
{
    CVoiceDlg bare;
    bare.show();
    ASSERT_TRUE(WaitFor([&] { return !bare.isVisible(); }));
    EXPECT_EQ(bare.result(), 2);
    ASSERT_EQ(m_messages.messages.size(), 1u);
}

/** The drive selection dialog over the system root's media/ folders. */
class DriveSelectDlgTest : public warden::test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        std::filesystem::create_directories(Path("media"));
        CMessageService::Install(&m_messages);
    }
    void TearDown() override
    {
        CMessageService::Install(nullptr);
        FreshRootTest::TearDown();
    }

    /** Once the dialog is up, hands it to `act`. */
    void WhenShown(std::function<void(talk::voice::DriveSelectDlg&)> act)
    {
        QTimer::singleShot(0, [this, act] {
            ASSERT_TRUE(WaitFor([this] { return m_dialog.isVisible(); }));
            act(m_dialog);
        });
    }

    CapturedMessages m_messages;
    talk::voice::DriveSelectDlg m_dialog {"Marlow", nullptr};
};

TEST_F(DriveSelectDlgTest, NoDriveIsReportedInsteadOfAnEmptyList)
{
    EXPECT_EQ(m_dialog.ChooseDrive(), "");
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].first, talk::voice::DriveList::kNoDriveCaption);
    EXPECT_EQ(m_messages.messages[0].second, talk::voice::DriveList::kNoDriveText);
}

TEST_F(DriveSelectDlgTest, TheActivatedEntryGivesItsDrivesFolder)
{
    std::filesystem::create_directories(Path("media/stick-a"));
    std::filesystem::create_directories(Path("media/stick-b"));
    std::vector<std::string> shown;
    WhenShown([&](talk::voice::DriveSelectDlg& dialog) {
        auto* list = dialog.findChild<QListWidget*>();
        for (int row = 0; row < list->count(); ++row)
            shown.push_back(list->item(row)->text().toStdString());
        list->setCurrentRow(1);
        emit list->itemActivated(list->currentItem());
    });
    EXPECT_EQ(m_dialog.ChooseDrive(), Path("media/stick-b"));
    EXPECT_EQ(shown, (std::vector<std::string> {"(D:) Removable Drive", "(E:) Removable Drive"}));
    EXPECT_EQ(m_dialog.windowTitle().toStdString(), talk::voice::DriveList::kTitle);
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(DriveSelectDlgTest, CancelGivesNoDrive)
{
    std::filesystem::create_directories(Path("media/stick-a"));
    WhenShown([](talk::voice::DriveSelectDlg& dialog) {
        auto* cancel = dialog.findChild<QPushButton*>();
        ASSERT_EQ(cancel->text().toStdString(), talk::voice::DriveSelectDlg::kCancelText);
        cancel->click();
    });
    EXPECT_EQ(m_dialog.ChooseDrive(), "");
}

} // namespace
