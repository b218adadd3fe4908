#include "app/DeskWardenApp.h"

#include "app/AboutDlg.h"
#include "app/CryptWorkflow.h"
#include "app/FileListView.h"
#include "app/FirstRunSetup.h"
#include "app/HandOff.h"
#include "app/MainFileDlg.h"
#include "app/MainStrings.h"
#include "app/RunValue.h"
#include "app/SplashWnd.h"
#include "app/SystemTray.h"
#include "app/WindowPlacement.h"
#include "settings/ScreenSaverRegistration.h"
#include "settings/SettingsActions.h"
#include "settings/SettingsDlg.h"
#include "transfer/TransferService.h"
#include "users/BypassKeyOffer.h"
#include "users/UserRegisterDlg.h"
#include "users/UserStores.h"
#include "users/VoiceDlgRunner.h"

#include "MessageService.h"
#include "Setup/SetupSecure.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <filesystem>

namespace deskwarden::app {

namespace {

constexpr int kPurposeSetting = 3;
constexpr int kHandOverTimeoutMs = 2000;
constexpr const char* kLockScreenProgram = "ScreenVeil";
constexpr const char* kNoLogYet = "ログファイルはまだありません。音声認証を一度行うと作成されます。";
constexpr const char* kNoManual = "マニュアルが見つかりません。プログラムを正しくインストールしてください。";

void Refuse(const std::string& reason)
{
    std::fprintf(stderr, "DeskWarden: %s\n", reason.c_str());
}

void Tell(const std::string& text)
{
    CMessageService::Report(kProductCaption, text, MessageIcon::Information);
}

/** The suite's programs are installed side by side; the lock screen is found next to this one. */
std::string SuiteProgramPath(const std::string& program)
{
    return (std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / program).string();
}

std::string ManualPath()
{
    const std::filesystem::path installed = std::filesystem::path(QCoreApplication::applicationDirPath().toStdString())
        / "../share/deskwarden/help/manual.html";
    std::error_code ec;
    if (std::filesystem::exists(installed, ec))
        return installed.lexically_normal().string();
    return std::string(WARDEN_SHIPPED_DATA_DIR) + "/help/manual.html";
}

/** Whether the lock screen is the system's screen saver now; the answer is also kept in the settings. */
bool AutoLockRegistered(CSetupFile& setup)
{
    const settings::LogonPlace place = settings::CurrentLogonPlace();
    return settings::screen_saver::CheckRegistered(
        place.ntFamily, place.systemFolder, settings::CurrentWindowsFolder(), setup);
}

void ToggleAutoLock(CSetupFile& setup, CSystemTray& tray)
{
    const settings::LogonPlace place = settings::CurrentLogonPlace();
    const bool on = !AutoLockRegistered(setup);
    settings::screen_saver::SetRegistered(
        on, place.ntFamily, place.systemFolder, settings::CurrentWindowsFolder(), setup);
    tray.SetAutoLockChecked(on);
}

int HandOver(const StartOptions& options)
{
    std::vector<SessionFrame> frames {{kFrameShowWindow, {}}};
    if (!options.file.empty())
        frames.push_back({kFrameHandOff, FormatHandOff(HandOffForFile(options.file))});
    std::string error;
    if (!InstanceGuard::SendToRunning(frames, kHandOverTimeoutMs, error)) {
        Refuse("another DeskWarden runs in this session but " + error);
        return kExitRefused;
    }
    std::fprintf(stderr, "DeskWarden: already running in this session; %s\n",
        options.file.empty() ? "its window was brought to the front" : "the file was handed to it");
    return kExitOk;
}

} // namespace

CDeskWardenApp::CDeskWardenApp()
{
    connect(&m_guard, &InstanceGuard::FrameArrived, this, &CDeskWardenApp::FrameArrived);
    // The settings are read afresh, so that the maker outlives no object of this program.
    users::SetBypassKeyMaker([](QWidget* owner) {
        CSetupFile setup;
        if (setup.Initialize() == 1)
            settings::actions::OpenBypassDriveDialog(setup, owner);
    });
}

CDeskWardenApp::~CDeskWardenApp() = default;

int CDeskWardenApp::Run(const StartOptions& options)
{
    std::string error;
    switch (m_guard.ClaimSession(error)) {
    case InstanceGuard::Claim::Second:
        return HandOver(options);
    case InstanceGuard::Claim::Failed:
        Refuse(error);
        return kExitRefused;
    case InstanceGuard::Claim::First:
        break;
    }
    // Without a notification area the program could not be reached once its window hides.
    if (!CSystemTray::IsAvailable()) {
        Refuse(kNoTrayHost);
        return kExitRefused;
    }
    if (!OpenStores(error)) {
        Refuse(error);
        return kExitRefused;
    }
    // Another program on the transfer port only costs this one its receiving; the rest works without it.
    m_transfer = std::make_unique<transfer::TransferService>(*m_stores);
    m_transfer->Listen();
    CSetupSecure::tagSecureSettings settings;
    m_setup.GetSetupSecure().GetAppSettings(settings);
    if (settings.firstRun == 1 && !RunFirstRunSetup(error)) {
        Refuse(error);
        return kExitRefused;
    }
    WriteRunValue(m_setup.GetAppPath());
    CreateWindows(options);
    if (!m_tray->Show()) {
        Refuse(kNoTrayHost);
        return kExitRefused;
    }
    const int status = QApplication::exec();
    m_tray->Remove();
    return status;
}

bool CDeskWardenApp::OpenStores(std::string& error)
{
    const std::string appPath = m_setup.GetAppPath();
    if (appPath.empty() || !CSetupFile::IsFileExist(appPath, 1)) {
        error = "no installation is registered in this system root; run \"wardenctl init DIR\" first";
        return false;
    }
    if (m_setup.Initialize() != 1) {
        error = "cannot open the settings of " + appPath + "; check that the folder is yours and writable";
        return false;
    }
    if (m_users.SetUserDicFilePath(appPath + "/halvoxuid.dat") != 1) {
        error = "cannot open the user dictionary: " + m_users.GetLastErrorText();
        return false;
    }
    if (m_voices.SetVoiceDicPath(appPath) != 1) {
        error = "cannot open the voice dictionary of " + appPath;
        return false;
    }
    m_stores
        = std::make_unique<users::UserStores>(users::UserStores {m_users, m_voices, m_accounts, users::IsNtFamily()});
    m_voice = std::make_unique<users::VoiceDlgRunner>(m_setup, m_users, m_voices, nullptr);
    return true;
}

bool CDeskWardenApp::RunFirstRunSetup(std::string& error)
{
    users::DialogRequest request;
    request.mode = users::kModeNewUser;
    request.firstRun = true;
    users::CUserRegisterDlg dialog(request, *m_stores, *m_voice, nullptr);
    if (dialog.exec() != QDialog::Accepted) {
        error = "the first administrator was not registered; start DeskWarden again to register him";
        return false;
    }
    return CompleteFirstRun(m_setup, error);
}

void CDeskWardenApp::CreateWindows(const StartOptions& options)
{
    m_main = std::make_unique<CMainFileDlg>(options.file, DefaultProfilePath());
    connect(m_main.get(), &QDialog::finished, this, &CDeskWardenApp::EndProgram);
    connect(m_main.get(), &CMainFileDlg::LockRequested, this, &CDeskWardenApp::LockScreen);
    connect(m_main.get(), &CMainFileDlg::SettingsRequested, this, &CDeskWardenApp::OpenSettings);
    m_crypt = std::make_unique<CryptWorkflow>(m_setup, *m_stores, *m_voice, m_main.get());
    connect(m_main.get(), &CMainFileDlg::EncryptionRequested, this,
        [this](bool selectedOnly) { m_crypt->Encrypt(m_main->FileList(), selectedOnly); });
    connect(m_main.get(), &CMainFileDlg::DecryptionRequested, this,
        [this](bool selectedOnly) { m_crypt->Decrypt(m_main->FileList(), selectedOnly); });
    m_tray = std::make_unique<CSystemTray>();
    connect(m_tray.get(), &CSystemTray::CommandChosen, this, &CDeskWardenApp::RunCommand);
    connect(m_tray.get(), &CSystemTray::MenuAboutToShow, this,
        [this] { m_tray->SetAutoLockChecked(AutoLockRegistered(m_setup)); });
    m_main->show();
    // The window hides right after start: the program lives in the tray until it is called.
    QTimer::singleShot(0, m_main.get(), &CMainFileDlg::HideToTray);
    if (options.splash) {
        m_splash = std::make_unique<CSplashWnd>(QString::fromStdString(m_setup.GetAppPath() + "/logo.bmp"));
        m_splash->ShowSplash();
    }
    for (const SessionFrame& frame : std::exchange(m_early, {}))
        QTimer::singleShot(0, this, [this, frame] { HandleFrame(frame); });
}

void CDeskWardenApp::FrameArrived(quint32 kind, const QByteArray& payload)
{
    SessionFrame frame {kind, payload.toStdString()};
    if (m_main == nullptr) {
        m_early.push_back(std::move(frame));
        return;
    }
    HandleFrame(frame);
}

void CDeskWardenApp::HandleFrame(const SessionFrame& frame)
{
    switch (frame.kind) {
    case kFrameShowWindow:
        m_main->ShowToFront();
        break;
    case kFrameHandOff:
        m_main->ReceiveHandOff(frame.payload);
        break;
    case kFrameLockScreen:
        LockScreen();
        break;
    case kFrameHideWindow:
        m_main->HideToTray();
        break;
    default:
        break; // an unknown message from a newer program of the suite
    }
}

void CDeskWardenApp::RunCommand(Command command)
{
    switch (command) {
    case Command::LockScreen:
        return LockScreen();
    case Command::ShowMainWindow:
        return m_main->ShowToFront();
    case Command::LockScreenSettings:
        return OpenLockScreenSettings();
    case Command::Settings:
        return OpenSettings();
    case Command::OpenLog:
        return OpenLog();
    case Command::OpenManual:
        return OpenManual();
    case Command::About:
        return ShowAbout();
    case Command::Exit:
        m_main->close();
        return;
    case Command::ToggleAutoLock:
        return ToggleAutoLock(m_setup, *m_tray);
    case Command::Backup:
    case Command::Restore:
        if (m_main->IsBusy())
            return;
        m_main->SetBusy(true);
        if (VerifyOperatorVoice()) {
            if (command == Command::Backup)
                settings::actions::BackUp(m_setup, nullptr);
            else
                settings::actions::Restore(*m_stores, nullptr);
        }
        m_main->SetBusy(false);
        return;
    case Command::Transfer:
        if (m_main->IsBusy())
            return;
        m_main->SetBusy(true);
        if (VerifyOperatorVoice())
            m_transfer->OpenTransferDialog(nullptr);
        m_main->SetBusy(false);
        return;
    }
}

bool CDeskWardenApp::VerifyOperatorVoice()
{
    users::VoiceRequest request;
    request.mode = users::kVoiceVerify;
    request.purpose = kPurposeSetting;
    request.verifyRepeat = 1;
    const users::VoiceReply reply = m_voice->Run(request);
    users::RemoveTemporaryModel(*m_stores, reply.nick);
    return reply.result == users::kVoiceAccepted;
}

void CDeskWardenApp::OpenSettings()
{
    if (m_main->IsBusy())
        return;
    m_main->SetBusy(true);
    if (VerifyOperatorVoice()) {
        const settings::SettingsContext context {
            m_setup, *m_stores, settings::CurrentLogonPlace(), settings::CurrentWindowsFolder()};
        settings::CSettingsDlg dialog(context, *m_voice, nullptr);
        dialog.exec();
    }
    m_main->SetBusy(false);
}

void CDeskWardenApp::StartSuiteProgram(const std::string& program, const std::string& argument)
{
    const std::string path = SuiteProgramPath(program);
    if (!QFileInfo(QString::fromStdString(path)).isExecutable())
        return Tell(ProgramMissingText(program));
    if (!QProcess::startDetached(QString::fromStdString(path), {QString::fromStdString(argument)}))
        Tell(ProgramMissingText(program));
}

void CDeskWardenApp::LockScreen()
{
    // The lock screen runs on its own until the user unlocks it; this program does not wait for it.
    StartSuiteProgram(kLockScreenProgram, "/k");
}

void CDeskWardenApp::OpenLockScreenSettings()
{
    StartSuiteProgram(kLockScreenProgram, "/c");
}

void CDeskWardenApp::OpenLog()
{
    const std::string log = m_setup.GetAppPath() + "/result.log";
    std::error_code ec;
    if (!std::filesystem::exists(log, ec))
        return Tell(kNoLogYet);
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(log)));
}

void CDeskWardenApp::OpenManual()
{
    const std::string manual = ManualPath();
    std::error_code ec;
    if (!std::filesystem::exists(manual, ec))
        return Tell(kNoManual);
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(manual)));
}

void CDeskWardenApp::ShowAbout()
{
    CAboutDlg about(m_main.get());
    about.exec();
}

void CDeskWardenApp::EndProgram()
{
    m_tray->Remove();
    QApplication::quit();
}

} // namespace deskwarden::app
