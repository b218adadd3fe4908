#pragma once

#include "app/CommandLine.h"
#include "app/InstanceGuard.h"
#include "app/SessionFrame.h"
#include "app/TrayCommands.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "Setup/SetupFile.h"
#include "SystemUser.h"

#include <QObject>

#include <memory>
#include <string>
#include <vector>

namespace deskwarden::transfer {
class TransferService;
} // namespace deskwarden::transfer

namespace deskwarden::users {
class VoiceDlgRunner;
struct UserStores;
} // namespace deskwarden::users

namespace deskwarden::app {

class CMainFileDlg;
class CryptWorkflow;
class CSplashWnd;
class CSystemTray;

/** Exit statuses of the program. */
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

/**
 * The tray program: keeps one instance per session, opens the installation's stores, registers the first
 * administrator on a new installation, and runs the main window and the tray icon until the user ends the
 * program. One settings file, user dictionary and voice dictionary serve every window of the process.
 */
class CDeskWardenApp final : public QObject
{
    Q_OBJECT
public:
    CDeskWardenApp();
    ~CDeskWardenApp() override;

    /** Starts the program and runs it to its end. @return the exit status; a refusal is told on stderr. */
    int Run(const StartOptions& options);

    /** Shows the voice dialog for the operator; true only when it accepted him. */
    bool VerifyOperatorVoice();

private:
    bool OpenStores(std::string& error);
    bool RunFirstRunSetup(std::string& error);
    void CreateWindows(const StartOptions& options);
    void FrameArrived(quint32 kind, const QByteArray& payload);
    void HandleFrame(const SessionFrame& frame);
    void RunCommand(Command command);
    void LockScreen();
    void OpenLockScreenSettings();
    void OpenSettings();
    void OpenLog();
    void OpenManual();
    void ShowAbout();
    void EndProgram();
    void StartSuiteProgram(const std::string& program, const std::string& argument);

    CAppUserVoiceDic m_voices;
    CAppUserDic m_users;
    CSetupFile m_setup;
    CSystemUser m_accounts;
    std::unique_ptr<users::UserStores> m_stores;
    InstanceGuard m_guard;
    std::unique_ptr<CMainFileDlg> m_main;
    std::unique_ptr<CSystemTray> m_tray;
    std::unique_ptr<users::VoiceDlgRunner> m_voice;
    std::unique_ptr<CSplashWnd> m_splash;
    std::unique_ptr<CryptWorkflow> m_crypt;
    std::unique_ptr<transfer::TransferService> m_transfer;
    std::vector<SessionFrame> m_early; // frames that arrived before the main window existed
};

} // namespace deskwarden::app
