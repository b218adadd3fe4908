#include "settings/SettingsDlg.h"
#include "settings/BackupSet.h"
#include "settings/BypassDriveDlg.h"
#include "settings/LogonIntegration.h"
#include "settings/RestoreDlg.h"
#include "settings/SettingsActions.h"

#include "SettingsWindowTestSupport.h"

#include "IniFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

using settings::CSettingsDlg;

std::string LabelText(QWidget& window, const char* id)
{
    return window.findChild<QLabel*>(id)->text().toStdString();
}

class SettingsDialog : public SettingsWindowTest
{
};

TEST_F(SettingsDialog, OpensOnTheProgramPageAndEachItemShowsItsPageTitleAndDescription)
{
    CSettingsDlg dialog(Context(), *m_voice, nullptr);
    auto& frame = Control<QStackedWidget>(dialog, "1027");
    EXPECT_EQ(frame.currentWidget()->objectName(), "109");
    EXPECT_EQ(LabelText(dialog, "1057"), "プログラム設定");
    const char* pages[] = {"109", "170", "171", "246"};
    const char* titles[] = {"プログラム設定", "ユーザー管理", "セキュリティ－情報バックアップ", "スキン変更"};
    const char* descriptions[] = {"認証レベル、方法及びファイル暗号化関連設定をします。",
        "ユーザー登録、修正、削除及び音声パスワードの登録、削除ができます。",
        "By-passキ－生成及びバックアップすることができます。", "音声認証画面のスキンを変更できます。"};
    for (int page = 3; page >= 0; --page) {
        auto& menu = Control<QTreeWidget>(dialog, "MenuList");
        menu.setCurrentItem(menu.topLevelItem(page));
        EXPECT_EQ(frame.currentWidget()->objectName().toStdString(), pages[page]);
        EXPECT_EQ(LabelText(dialog, "1057"), titles[page]);
        EXPECT_EQ(LabelText(dialog, "1059"), descriptions[page]);
    }
}

TEST_F(SettingsDialog, CancelLeavesTheSecureSettingsAsTheyWere)
{
    const CSetupSecure::tagSecureSettings before = m_setup.GetSecureAppSettings();
    CSettingsDlg dialog(Context(), *m_voice, nullptr);
    Click(dialog, "1038");
    Click(dialog, "1033");
    Click(dialog, "1037");
    Click(dialog, "IDCANCEL");
    const CSetupSecure::tagSecureSettings after = m_setup.GetSecureAppSettings();
    EXPECT_EQ(after.deleteSourceAfterEncrypt, before.deleteSourceAfterEncrypt);
    EXPECT_EQ(after.logonAuthMode, before.logonAuthMode);
    EXPECT_FALSE(settings::logon::IsOn(true));
}

TEST_F(SettingsDialog, AnInvalidFolderKeepsTheDialogOpenWithItsWarning)
{
    CSettingsDlg dialog(Context(), *m_voice, nullptr);
    dialog.show();
    dialog.ShowPage(3);
    Control<QLineEdit>(dialog, "1040").setText("relative/folder");
    Click(dialog, "IDOK");
    ASSERT_EQ(m_messages.boxes.size(), 1u);
    EXPECT_EQ(m_messages.boxes[0].caption, "Marlow");
    EXPECT_EQ(m_messages.boxes[0].text, "Invalid Directory!");
    EXPECT_EQ(m_messages.boxes[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Control<QStackedWidget>(dialog, "1027").currentWidget()->objectName(), "109");
}

TEST_F(SettingsDialog, TheFolderControlsFollowTheMakeTypeBox)
{
    CSettingsDlg dialog(Context(), *m_voice, nullptr);
    auto& makeType = Control<QCheckBox>(dialog, "1097");
    const bool wasOn = makeType.isChecked();
    EXPECT_EQ(Control<QLineEdit>(dialog, "1040").isEnabled(), wasOn);
    makeType.click();
    EXPECT_EQ(Control<QLineEdit>(dialog, "1040").isEnabled(), !wasOn);
    EXPECT_EQ(Control<QPushButton>(dialog, "1041").isEnabled(), !wasOn);
}

TEST_F(SettingsDialog, SwitchingTheVoiceLogonOnAsksForARestartThatRunsTheRebootCommand)
{
    const std::string marker = Path("rebooted");
    ::setenv("WARDEN_REBOOT_COMMAND", ("touch " + marker).c_str(), 1);
    CSettingsDlg dialog(Context(), *m_voice, nullptr);
    Control<QLineEdit>(dialog, "1040").setText(QString::fromStdString(Path("secure")));
    Click(dialog, "1037");
    m_messages.Answer(true);
    Click(dialog, "IDOK");
    ::unsetenv("WARDEN_REBOOT_COMMAND");
    EXPECT_EQ(m_messages.questions,
        (std::vector<std::string> {"ログイン機能を有効にするには再起動する必要があります。\n今すぐ再起動しますか？"}));
    EXPECT_TRUE(std::filesystem::exists(marker));
    EXPECT_TRUE(settings::logon::IsOn(true));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(SettingsDialog, TheSkinPageWritesTheSkinAndTheGuidanceAtOnce)
{
    CSettingsDlg dialog(Context(), *m_voice, nullptr);
    auto& skins = Control<QComboBox>(dialog, "1101");
    ASSERT_EQ(skins.count(), 2);
    EXPECT_EQ(skins.currentText(), "default");
    skins.setCurrentIndex(1);
    emit skins.activated(1);
    EXPECT_EQ(m_setup.GetSkinCurrent(), "plain");
    auto& narration = Control<QCheckBox>(dialog, "1102");
    EXPECT_TRUE(narration.isChecked());
    narration.click();
    EXPECT_EQ(CIniFile(m_folder + "/halvox.ini").ReadString("VOICE_RECOG_DLL", "Narration", "?"), "0");
    Click(dialog, "IDCANCEL");
    EXPECT_EQ(m_setup.GetSkinCurrent(), "plain") << "the skin page has nothing to save";
}

class BackupPage : public SettingsWindowTest
{
protected:
    std::string StoredKey() { return m_setup.GetSetupSecure().GetBackupBypassKey(); }
};

TEST_F(BackupPage, WithoutARemovableDriveNoMenuIsShownAndNoKeyMade)
{
    std::filesystem::create_directories(Path("media"));
    CSettingsDlg dialog(Context(), *m_voice, nullptr);
    Click(dialog, "1049");
    EXPECT_TRUE(menus.empty());
    EXPECT_TRUE(StoredKey().empty());
    EXPECT_TRUE(m_messages.boxes.empty());
}

TEST_F(BackupPage, AChosenDriveGetsTheNewKeyAndADismissedMenuChangesNothing)
{
    std::filesystem::create_directories(Path("media/stick"));
    std::filesystem::create_directories(Path("media/usb"));
    CSettingsDlg dialog(Context(), *m_voice, nullptr);
    Click(dialog, "1049");
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0], (std::vector<std::string> {"Removable Drive(D:)", "Removable Drive(E:)"}));
    EXPECT_TRUE(StoredKey().empty()) << "dismissed";
    menuAnswer = 1;
    Click(dialog, "1049");
    EXPECT_FALSE(StoredKey().empty());
    EXPECT_TRUE(std::filesystem::exists(Path("media/usb/halvox.key")));
    EXPECT_FALSE(std::filesystem::exists(Path("media/stick/halvox.key")));
    EXPECT_EQ(Texts(), (std::vector<std::string> {"“By-passキ－”が生成されました。"}));
}

TEST_F(BackupPage, BackUpCopiesBothDictionariesAndRestoreRefusesAHalfBackup)
{
    AddProgramUser("alice", 0);
    std::filesystem::create_directories(Path("backup"));
    CSettingsDlg dialog(Context(), *m_voice, nullptr);
    Click(dialog, "1051");
    EXPECT_TRUE(m_messages.boxes.empty()) << "cancelled browser";
    folderAnswer = Path("backup");
    Click(dialog, "1051");
    EXPECT_EQ(prompts.back(), "バックアップファイル保存フォルダを指定してください。");
    EXPECT_TRUE(settings::backup::FindBackup(folderAnswer));
    EXPECT_EQ(Texts().back(), "“データバックアップ”が完了しました。");
    folderAnswer = Path("nowhere");
    Click(dialog, "1051");
    EXPECT_EQ(Texts().back(), "“データバックアップ”が失敗しました。");
    EXPECT_EQ(m_messages.boxes.back().icon, MessageIcon::Error);

    std::filesystem::create_directories(Path("half"));
    std::filesystem::copy_file(Path("backup/halvoxuid.dat"), Path("half/halvoxuid.dat"));
    folderAnswer = Path("half");
    Click(dialog, "1052");
    EXPECT_EQ(prompts.back(), "バックアップファイルを復元するフォルダを指定してください。");
    EXPECT_EQ(Texts().back(), "バックアップファイルが存在しません。");
}

class RestoreDialog : public SettingsWindowTest
{
protected:
    void SetUp() override
    {
        SettingsWindowTest::SetUp();
        AddProgramUser("alice", 0);
        AddProgramUser("bob", 1);
        std::filesystem::create_directories(Path("backup"));
        std::string error;
        ASSERT_TRUE(settings::backup::CopyToFolder(m_folder, Path("backup"), error)) << error;
    }
};

TEST_F(RestoreDialog, CountsTheUsersThenLogsTheRestoreAndEndsWithOk)
{
    settings::CRestoreDlg dialog(*settings::backup::FindBackup(Path("backup")), *m_stores, nullptr);
    EXPECT_EQ(LabelText(dialog, "1100"), "0");
    dialog.ShowUserCount();
    EXPECT_EQ(LabelText(dialog, "1100"), "2");
    m_messages.Answer(false);
    m_messages.Answer(true);
    Click(dialog, "IDOK");
    EXPECT_EQ(m_messages.questions,
        (std::vector<std::string> {
            "ユーザーaliceはすでに存在します。上書きしますか？", "ユーザーbobはすでに存在します。上書きしますか？"}));
    std::string log = Control<QPlainTextEdit>(dialog, "1099").toPlainText().toStdString();
    std::erase(log, '\r');
    EXPECT_NE(log.find("aliceの情報復元失敗。\nbobの情報復元成功。\n"), std::string::npos) << log;
    EXPECT_NE(
        log.find("復元成功したユーザー1人。\n復元失敗したユーザー1人。\nユーザー情報復元完了。"), std::string::npos);
    auto& start = Control<QPushButton>(dialog, "IDOK");
    EXPECT_EQ(start.text(), "OK");
    EXPECT_TRUE(start.isEnabled());
    EXPECT_TRUE(dialog.IsDone());
    dialog.show();
    start.click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(RestoreDialog, ADamagedBackupLeavesTheButtonOff)
{
    std::ofstream(Path("backup/halvoxuid.dat"), std::ios::binary | std::ios::app) << "\x07";
    settings::CRestoreDlg dialog(*settings::backup::FindBackup(Path("backup")), *m_stores, nullptr);
    Click(dialog, "IDOK");
    EXPECT_NE(Control<QPlainTextEdit>(dialog, "1099")
                  .toPlainText()
                  .toStdString()
                  .find("正常なバックアップファイルではないので復元ができません。"),
        std::string::npos);
    EXPECT_FALSE(Control<QPushButton>(dialog, "IDOK").isEnabled());
    EXPECT_TRUE(m_messages.questions.empty());
}

TEST_F(SettingsDialog, TheDriveDialogWritesTheKeyToTheSelectedDriveOnly)
{
    std::filesystem::create_directories(Path("media/stick"));
    settings::CBypassDriveDlg dialog(m_setup, nullptr);
    auto& list = Control<QListWidget>(dialog, "1000");
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.item(0)->text(), "[D:] Removable Drive");
    dialog.accept();
    EXPECT_TRUE(m_setup.GetSetupSecure().GetBackupBypassKey().empty()) << "nothing selected";
    std::filesystem::create_directories(Path("media/two"));
    Click(dialog, "Reload");
    ASSERT_EQ(list.count(), 2);
    list.setCurrentRow(1);
    dialog.accept();
    EXPECT_TRUE(std::filesystem::exists(Path("media/two/halvox.key")));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
} // namespace deskwarden::test
