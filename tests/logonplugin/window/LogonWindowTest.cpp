// The logon plug-in's window on Qt's off-screen platform, over a real installation in a fresh system root:
// its controls, what it hands back, the by-pass key's drive window, the mixer rule, and the plug-in's entry
// point showing it on the host's application. Readings judged by the engine run in wardengate_window_test.sh.
#include "LogonWindow.h"
#include "LogonFlow.h"
#include "LogonTexts.h"
#include "WaveInputs.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "AudioCapture.h"
#include "IniFile.h"
#include "MessageService.h"
#include "Setup/SetupFile.h"
#include "Setup/SetupSecure.h"
#include "voice/DriveList.h"
#include "voice/MixerLogic.h"
#include "voice/VoiceAction.h"

#include "../../support/FreshRootTest.h"
#include "../../support/SkinnedProgram.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace voice = talk::voice;
using wardengate::LogonWindow;
using wardengate::LogonWindowOptions;

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

class CapturedMessages final : public CMessageService
{
public:
    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept override
    {
        messages.emplace_back(caption, text, icon);
    }
    std::vector<std::tuple<std::string, std::string, MessageIcon>> messages;
};

class SilentCapture final : public platform::audio::AudioCapture
{
public:
    uint32_t Open(const platform::audio::CaptureFormat&) override { return 0; }
    uint32_t Start() override { return 0; }
    size_t Read(int16_t*, size_t) override { return 0; }
    uint32_t Stop() override { return 0; }
    uint32_t Close() override { return 0; }
    const std::string& ErrorText() const override { return m_error; }

private:
    std::string m_error;
};

/** A mixer whose speaker line another program changes by writing to `changes`. */
class FakeMixer final : public platform::audio::MixerDevice
{
public:
    FakeMixer(long& level, std::vector<long>& writes, int changes)
        : m_level(level)
        , m_writes(writes)
        , m_changes(changes)
    {
    }
    platform::audio::VolumeControl GetControl(platform::audio::MixerLine) override
    {
        return platform::audio::VolumeControl {true, 0, 100, 1, false};
    }
    bool ReadVolume(platform::audio::MixerLine, std::vector<long>* values) override
    {
        *values = {m_level};
        return true;
    }
    bool WriteVolume(platform::audio::MixerLine, long value) override
    {
        m_writes.push_back(value);
        return true;
    }
    bool WriteMute(platform::audio::MixerLine, bool) override { return true; }
    std::vector<int> EventDescriptors() override { return {m_changes}; }
    std::vector<platform::audio::MixerLine> TakeChanges() override
    {
        char drained[16];
        while (::read(m_changes, drained, sizeof drained) > 0) { }
        return {platform::audio::MixerLine::Speaker};
    }

private:
    long& m_level;
    std::vector<long>& m_writes;
    int m_changes;
};

/** An installation with the default skin, one word, no sounds and no mixer, whose user tanaka may log on. */
class LogonWindowTest : public warden::test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        warden::test::SilenceAudio();
        const std::string program = Path("program");
        warden::test::CopyDefaultSkin(CLASSLIB_DATA_DIR, program);
        std::filesystem::create_directories(Path("media"));
        CSetupFile setup;
        ASSERT_EQ(setup.SetAppPath(program), 1);
        ASSERT_EQ(setup.Initialize(), 1);
        CIniFile ini(program + "/halvox.ini");
        ini.WriteString(CSetupFile::kSectionVoiceRecog, CSetupFile::kKeyNarration, "0");
        ini.WriteString(CSetupFile::kSectionWordList, "aaj", "ひまわり");
        CAppUserDic users;
        CAppUserVoiceDic voices;
        ASSERT_EQ(users.SetUserDicFilePath(program + "/halvoxuid.dat"), 1);
        ASSERT_EQ(voices.SetVoiceDicPath(program), 1);
        ASSERT_EQ(users.CreateUser("tanaka", "Tanaka", "", "se cret", 0, 1, 1, 1, "aaj"), 1);
        ASSERT_EQ(voices.AddUser("tanaka", users.GetCertiKey("tanaka")), 1);
        m_program = program;
        CMessageService::Install(&m_messages);
        m_options.capture = [this] {
            ++m_capturesOpened;
            return std::make_unique<SilentCapture>();
        };
        m_options.lastLogonUser = [] { return std::string(); };
    }

    void TearDown() override
    {
        m_window.reset();
        CMessageService::Install(nullptr);
        warden::test::RestoreAudio();
        FreshRootTest::TearDown();
    }

    void SetMethod(int method)
    {
        CSetupFile setup;
        ASSERT_EQ(setup.Initialize(), 1);
        CSetupSecure::tagSecureSettings settings = setup.GetSecureAppSettings();
        settings.logonAuthMode = method;
        ASSERT_EQ(setup.SetSecureAppSettings(settings), 1);
    }

    /** Shows a window made with the options and waits until it waits for the user. */
    void ShowAndStart()
    {
        m_window = std::make_unique<LogonWindow>(m_options);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        ASSERT_TRUE(WaitFor([this] { return m_window->IsWaitingForUser(); }));
    }

    template<typename Widget> Widget* Control(int id) { return m_window->findChild<Widget*>(QString::number(id)); }

    void Type(int id, const char* text)
    {
        auto* edit = Control<QLineEdit>(id);
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }

    void PressReturnIn(int id) { QTest::keyClick(Control<QLineEdit>(id), Qt::Key_Return); }

    std::string Hint() { return m_window->GetText("LABEL_HINT"); }

    /** The drive window while it is up, handed to `act`; false when it never came up. */
    void WhenDrivesShown(bool& shown, std::function<void(QDialog&)> act)
    {
        QTimer::singleShot(0, [&shown, act] {
            QDialog* drives = nullptr;
            WaitFor(
                [&] {
                    for (QWidget* widget : QApplication::topLevelWidgets()) {
                        if (widget->objectName() == "9000" && widget->isVisible())
                            drives = qobject_cast<QDialog*>(widget);
                    }
                    return drives != nullptr;
                },
                1000);
            shown = drives != nullptr;
            if (drives != nullptr)
                act(*drives);
        });
    }

    std::string m_program;
    CapturedMessages m_messages;
    LogonWindowOptions m_options;
    int m_capturesOpened = 0;
    std::unique_ptr<LogonWindow> m_window;
};

TEST_F(LogonWindowTest, PasswordOnlyHandsBackExactlyWhatWasTypedIn3002AndRecordsNothing)
{
    SetMethod(2);
    ShowAndStart();
    EXPECT_EQ(m_window->objectName(), "3000");
    EXPECT_EQ(m_window->windowTitle().toStdString(), "Marlow");
    ASSERT_NE(Control<QLineEdit>(3002), nullptr);
    EXPECT_EQ(Control<QLineEdit>(3002)->echoMode(), QLineEdit::Password);
    ASSERT_NE(Control<QComboBox>(3003), nullptr);
    EXPECT_FALSE(Control<QComboBox>(3003)->isVisible());
    EXPECT_EQ(Hint(), wardengate::texts::kEnterIdAndPassword);
    Type(3001, "tanaka");
    Type(3002, "wrong");
    PressReturnIn(3002);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(Control<QLineEdit>(3002)->text(), "");
    Type(3002, "se cret");
    PressReturnIn(3002);
    ASSERT_TRUE(WaitFor([this] { return !m_window->isVisible(); }));
    EXPECT_EQ(m_window->result(), 1);
    EXPECT_EQ(m_window->LogonUser(), "tanaka");
    EXPECT_EQ(m_window->LogonPassword(), "se cret");
    EXPECT_EQ(m_capturesOpened, 0);
    EXPECT_FALSE(std::filesystem::exists(m_program + "/result.log"));
}

TEST_F(LogonWindowTest, RightPasswordOnlyOpensTheVoiceStepAndExitHandsBackNothing)
{
    SetMethod(0);
    m_options.lastLogonUser = [] { return std::string("suzuki"); }; // the voice start must not take this
    ShowAndStart();
    Type(3001, "tanaka");
    Type(3002, "se cret");
    PressReturnIn(3002);
    ASSERT_TRUE(WaitFor([this] { return m_window->IsWaitingForUser(); }));
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_FALSE(Control<QLineEdit>(3001)->isVisible());
    EXPECT_FALSE(Control<QLineEdit>(3002)->isVisible());
    EXPECT_EQ(m_window->GetText("LABEL_ID"), "tanaka");
    m_window->PressButtonID(voice::kButtonExit);
    ASSERT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_window->result(), 2);
    EXPECT_EQ(m_window->LogonUser(), "");
    EXPECT_EQ(m_window->LogonPassword(), "");
}

TEST_F(LogonWindowTest, ByPassKeyWithoutIdOnlyAsksForOne)
{
    SetMethod(2);
    std::filesystem::create_directories(Path("media/stick"));
    ShowAndStart();
    bool drivesShown = false;
    WhenDrivesShown(drivesShown, [](QDialog& drives) { drives.reject(); });
    m_window->PressButtonID(voice::kButtonFloppy);
    QTest::qWait(1100);
    EXPECT_FALSE(drivesShown);
    EXPECT_EQ(Hint(), wardengate::texts::kBypassNeedsId);
    EXPECT_TRUE(m_messages.messages.empty());
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(LogonWindowTest, ByPassKeyWithoutAnyDriveSaysThereIsNone)
{
    SetMethod(2);
    ShowAndStart();
    Type(3001, "tanaka");
    m_window->PressButtonID(voice::kButtonFloppy);
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(std::get<0>(m_messages.messages[0]), "Marlow");
    EXPECT_EQ(std::get<1>(m_messages.messages[0]), "移動保存装置が存在しないです");
    EXPECT_EQ(std::get<2>(m_messages.messages[0]), MessageIcon::Warning);
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(LogonWindowTest, DriveWindowIsTemplate9000AndAWrongKeyOnTheChosenDriveIsRefused)
{
    SetMethod(2);
    std::filesystem::create_directories(Path("media/stick"));
    std::ofstream(Path("media/stick/halvox.key")) << "not the key";
    ShowAndStart();
    Type(3001, "tanaka");
    bool drivesShown = false;
    std::string title;
    std::vector<std::string> entries;
    std::string close;
    QSize size;
    WhenDrivesShown(drivesShown, [&](QDialog& drives) {
        title = drives.windowTitle().toStdString();
        size = drives.size();
        auto* list = drives.findChild<QListWidget*>("5013");
        auto* button = drives.findChild<QPushButton*>("9001");
        ASSERT_NE(list, nullptr);
        ASSERT_NE(button, nullptr);
        for (int row = 0; row < list->count(); ++row)
            entries.push_back(list->item(row)->text().toStdString());
        close = button->text().toStdString();
        emit list->itemActivated(list->item(0));
    });
    m_window->PressButtonID(voice::kButtonFloppy);
    ASSERT_TRUE(drivesShown);
    EXPECT_EQ(title, "ドライブを選択");
    EXPECT_EQ(entries, std::vector<std::string> {"(D:) Removable Drive"});
    EXPECT_EQ(close, "閉じる");
    EXPECT_GT(size.height(), size.width()); // 96 x 98 units: a little taller than wide
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(std::get<1>(m_messages.messages[0]), wardengate::texts::kBypassKeyWrong);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_window->LogonUser(), "");
}

TEST_F(LogonWindowTest, RightKeyOnTheChosenDriveHandsBackTheStoredPasswordOfTheTypedId)
{
    SetMethod(1); // the key needs neither a voice nor a password
    CSetupSecure secure;
    ASSERT_TRUE(secure.SetSetupSecureFilePath(m_program + CSetupFile::kSecureFileName));
    const std::string key = secure.CreateBackupBypassKey();
    ASSERT_FALSE(key.empty());
    ASSERT_TRUE(secure.SetBackupBypassKey(key));
    std::filesystem::create_directories(Path("media/stick"));
    std::ofstream(Path("media/stick/halvox.key")) << key;
    ShowAndStart();
    Type(3001, "tanaka");
    bool drivesShown = false;
    WhenDrivesShown(drivesShown, [](QDialog& drives) {
        auto* list = drives.findChild<QListWidget*>("5013");
        emit list->itemActivated(list->item(0));
    });
    m_window->PressButtonID(voice::kButtonFloppy);
    ASSERT_TRUE(drivesShown);
    ASSERT_TRUE(WaitFor([this] { return !m_window->isVisible(); }));
    EXPECT_EQ(m_window->result(), 1);
    EXPECT_EQ(m_window->LogonUser(), "tanaka");
    EXPECT_EQ(m_window->LogonPassword(), "se cret");
    EXPECT_EQ(m_capturesOpened, 0);
    EXPECT_TRUE(m_messages.messages.empty());
}

/** The mixer rule, with a mixer whose speaker another program sets through a pipe. */
class LogonWindowMixerTest : public LogonWindowTest
{
protected:
    void SetUp() override
    {
        LogonWindowTest::SetUp();
        ASSERT_EQ(::pipe2(m_pipe, O_NONBLOCK | O_CLOEXEC), 0);
        m_options.waveInputs = [this] { return m_inputs; };
        m_options.openMixer = [this] {
            ++m_mixersOpened;
            return std::make_unique<MixerLogic>(std::make_unique<FakeMixer>(m_level, m_writes, m_pipe[0]));
        };
        SetMethod(2);
    }
    void TearDown() override
    {
        LogonWindowTest::TearDown();
        ::close(m_pipe[0]);
        ::close(m_pipe[1]);
    }

    /** Another program sets the speaker to `level`; the event loop then gets the chance to follow. */
    void ChangedElsewhere(long level)
    {
        m_level = level;
        ASSERT_EQ(::write(m_pipe[1], "x", 1), 1);
        QTest::qWait(100);
    }

    int m_pipe[2] = {-1, -1};
    int m_inputs = 0;
    int m_mixersOpened = 0;
    long m_level = 40;
    std::vector<long> m_writes;
};

TEST_F(LogonWindowMixerTest, SlidersAndOutsideChangesAreActedOnOnlyWhileASoundInputExists)
{
    ShowAndStart();
    ASSERT_EQ(m_mixersOpened, 1);
    EXPECT_EQ(m_window->GetProgressPos("SPEAKER"), 40);
    m_window->SetProgressPos("SPEAKER", 70);
    m_window->ProgressChanged("SPEAKER");
    EXPECT_TRUE(m_writes.empty());
    ChangedElsewhere(20);
    EXPECT_EQ(m_window->GetProgressPos("SPEAKER"), 70);

    m_inputs = 1; // a microphone plugged in while the window is up
    m_window->ProgressChanged("SPEAKER");
    EXPECT_EQ(m_writes, std::vector<long> {70});
    ChangedElsewhere(30);
    EXPECT_EQ(m_window->GetProgressPos("SPEAKER"), 30);
}

TEST_F(LogonWindowMixerTest, WithoutCaptureTheMixerIsNeverOpenedAndThePasswordDecides)
{
    m_inputs = 1;
    m_options.captureAvailable = false;
    SetMethod(1);
    ShowAndStart();
    EXPECT_EQ(m_mixersOpened, 0);
    EXPECT_EQ(Hint(), wardengate::texts::kNoSoundCapture);
    Type(3001, "tanaka");
    Type(3002, "se cret");
    PressReturnIn(3002);
    ASSERT_TRUE(WaitFor([this] { return !m_window->isVisible(); }));
    EXPECT_EQ(m_window->result(), 1);
    EXPECT_EQ(m_capturesOpened, 0);
}

TEST(WaveInputs, CaptureStreamsOfTheKernelsListAreCounted)
{
    EXPECT_EQ(wardengate::CountCaptureStreams(""), 0);
    EXPECT_EQ(wardengate::CountCaptureStreams("00-00: HDMI 0 : HDMI 0 : playback 1\n"), 0);
    EXPECT_EQ(wardengate::CountCaptureStreams("00-00: ALC : ALC Analog : playback 1 : capture 1\n"
                                              "00-02: ALC : ALC Alt : capture 1\n"
                                              "01-03: HDMI : HDMI 0 : playback 1\n"),
        2);
}

/** The plug-in itself, loaded as a host loads it, on this test program's application. */
class PluginOnHostApplicationTest : public LogonWindowTest
{
};

TEST_F(PluginOnHostApplicationTest, CustomCtrlEntryShowsTheWindowAndReturnsWhatWasTyped)
{
    SetMethod(2);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    void* plugin = ::dlopen(WARDENGATE_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(plugin, nullptr) << ::dlerror();
    using Entry = int (*)(char*, char*);
    auto entry = reinterpret_cast<Entry>(::dlsym(plugin, "CustomCtrlEntry"));
    ASSERT_NE(entry, nullptr);
    bool typed = false;
    QTimer::singleShot(0, [&] {
        QWidget* window = nullptr;
        WaitFor([&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->objectName() == "3000" && widget->isVisible())
                    window = widget;
            }
            return window != nullptr;
        });
        ASSERT_NE(window, nullptr);
        QTest::qWait(400); // the password start comes 200 ms after the window
        auto* id = window->findChild<QLineEdit*>("3001");
        auto* password = window->findChild<QLineEdit*>("3002");
        ASSERT_TRUE(id && password);
        QTest::keyClicks(id, "tanaka");
        QTest::keyClicks(password, "se cret");
        typed = true;
        QTest::keyClick(password, Qt::Key_Return);
    });
    char user[256] = "x";
    char pass[256] = "x";
    const int result = entry(user, pass);
    // A host keeps its plug-in loaded; so does this test, whose application still knows the plug-in's classes.
    EXPECT_TRUE(typed);
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(user, "tanaka");
    EXPECT_STREQ(pass, "se cret");
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_NE(widget->objectName(), "3000") << "the window outlived the call";
}

} // namespace
