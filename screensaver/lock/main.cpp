// ScreenVeil: locks the screen until a registered user with the logon permission passes a voice check.
//
//   ScreenVeil [/k]     lock now (any argument not listed below does the same)
//   ScreenVeil /s       started by the desktop's idle timer: ask the running tray program to lock
//   ScreenVeil /c       the settings dialog
//   ScreenVeil /p ID    a small slide show inside the window ID
//   ScreenVeil /a       end at once

#include "lock/LockDown.h"
#include "lock/LockSettings.h"
#include "lock/LockWindow.h"
#include "lock/MemoListDlg.h"
#include "lock/PreviewWindow.h"
#include "lock/SettingsDlg.h"
#include "lock/SystemStart.h"
#include "rules/CommandLine.h"

#include "Setup/SetupFile.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace {

using namespace screenveil;

constexpr const char* kProcRoot = "/proc";
constexpr const char* kCaption = "Marlow";
constexpr const char* kNotSetUp = "先に“Marlow”を行ってプログラム登録をしてください。";

std::vector<std::string> Arguments(const QStringList& words)
{
    std::vector<std::string> arguments;
    for (qsizetype i = 1; i < words.size(); ++i)
        arguments.push_back(words[i].toStdString());
    return arguments;
}

// A fresh installation has no user who could unlock: the tray program's first run must come first.
bool IsSetUp(CSetupFile& setup)
{
    return setup.Initialize() == 1 && setup.GetSecureAppSettings().firstRun != 1;
}

int RunLock(CSetupFile& setup)
{
    if (!SetLockDown(true))
        std::fprintf(stderr, "ScreenVeil: the lock-down value could not be written\n");
    const QString voiceProgram = QCoreApplication::applicationDirPath() + "/screenveil-voice";
    LockWindow window(ReadLockContent(setup), voiceProgram, setup.GetAppPath());
    QObject::connect(&window, &LockWindow::Unlocked, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    window.Lock();
    QApplication::exec();
    window.hide();
    SetLockDown(false);
    if (!window.Memos().empty()) {
        std::fprintf(stderr, "ScreenVeil: %zu messages left\n", window.Memos().size());
        MemoListDlg messages(window.Memos(), setup.GetAppPath() + "/memo");
        messages.exec();
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const StartRequest request = ParseCommandLine(Arguments(QCoreApplication::arguments()));
    if (request.action == StartAction::Preview)
        return RunPreview(request.previewWindow);
    CSetupFile setup;
    if (!IsSetUp(setup)) {
        QMessageBox::information(nullptr, kCaption, kNotSetUp);
        return 1;
    }
    switch (request.action) {
    case StartAction::Exit:
    case StartAction::Preview:
        return 0;
    case StartAction::SystemStart: {
        std::string error;
        if (!RequestLockFromTray(kProcRoot, error))
            std::fprintf(stderr, "ScreenVeil: no lock requested: %s\n", error.c_str());
        return 0;
    }
    case StartAction::Settings:
        return RunSettings(setup);
    case StartAction::Lock:
        break;
    }
    return RunLock(setup);
}
