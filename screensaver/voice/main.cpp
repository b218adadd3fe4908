// screenveil-voice: the lock screen's voice check, in a process of its own.
//
// Shows the voice dialog for the logon on the registered installation, on top of the lock and holding the
// input while it shows. Writes one acceptance line naming the user to standard output and exits 0 only when
// the dialog accepted a user who has the logon permission; exits 1 otherwise. Nothing else goes to standard
// output: the lock reads anything more as a refusal.

#include "AutoPilot.h"
#include "CheckMessages.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "Setup/SetupFile.h"
#include "rules/UnlockProtocol.h"
#include "voice/VoiceDlg.h"

#include <platform/Environment.h>

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kRefused = 1;
constexpr int kGrabRetryMs = 100;
constexpr int kLogonPurpose = 0;
constexpr int kVerifyMode = 2;

struct Stores
{
    CSetupFile setup;
    CAppUserDic users;
    CAppUserVoiceDic voices;
};

bool OpenStores(Stores& stores)
{
    const std::string appPath = stores.setup.GetAppPath();
    return !appPath.empty() && stores.setup.Initialize() == 1
        && stores.users.SetUserDicFilePath(appPath + "/halvoxuid.dat") == 1
        && stores.voices.SetVoiceDicPath(appPath) == 1;
}

bool MayLogOn(const CAppUserDic& users, const std::string& id)
{
    CAppUserDic::USER_INFORMATION info;
    return !id.empty() && users.GetUser(id, info) != 0 && info.logonRight != 0;
}

// The model the dialog took out of the voice dictionary stays only as long as the check.
void RemoveExtractedModel(const Stores& stores, const std::string& nick)
{
    if (nick.empty())
        return;
    std::error_code error;
    std::filesystem::remove(std::filesystem::path(stores.voices.GetWorkFolder()) / (nick + ".bin"), error);
}

// The lock lets go of the input just before it starts this check; taking it may need a few tries.
void HoldInput(CVoiceDlg& dialog, QTimer& retry)
{
    retry.setInterval(kGrabRetryMs);
    QObject::connect(&retry, &QTimer::timeout, &dialog, [&dialog] {
        if (!dialog.isVisible())
            return;
        dialog.raise();
        dialog.activateWindow();
        dialog.grabKeyboard();
        dialog.grabMouse();
    });
    retry.start();
}

// The verdict travels on the standard output the lock reads. Libraries below the dialog print their own
// progress there; they get standard error instead, so that nothing but the verdict reaches the lock.
int TakeVerdictChannel()
{
    const int verdict = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (verdict < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return -1;
    return verdict;
}

bool WriteVerdict(int channel, const std::string& line)
{
    std::size_t written = 0;
    while (written < line.size()) {
        const ssize_t n = write(channel, line.data() + written, line.size() - written);
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

int RunCheck(Stores& stores, bool automatic, int verdictChannel)
{
    CVoiceDlg dialog;
    dialog.setWindowFlags(dialog.windowFlags() | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint);
    dialog.Purpose = kLogonPurpose;
    dialog.Mode = kVerifyMode;
    dialog.VerifyRepeat = 1;
    dialog.SetupFile = &stores.setup;
    dialog.UserDic = &stores.users;
    dialog.VoiceDic = &stores.voices;
    voice_dialog::AutoPilot pilot(dialog, voice_dialog::ReadingsOfAudioInput());
    if (automatic) {
        dialog.SetCaptureFactory(pilot.CountingCapture());
        pilot.Start();
    }
    QTimer retry;
    HoldInput(dialog, retry);
    const int result = dialog.exec();
    retry.stop();
    RemoveExtractedModel(stores, dialog.Nick);
    if (result != 1 || !MayLogOn(stores.users, dialog.UserID))
        return kRefused;
    return WriteVerdict(verdictChannel, screenveil::AcceptanceLine(dialog.UserID)) ? 0 : kRefused;
}

} // namespace

int main(int argc, char** argv)
{
    const int verdictChannel = TakeVerdictChannel();
    if (verdictChannel < 0)
        return kRefused;
    QApplication app(argc, argv);
    Stores stores;
    if (!OpenStores(stores)) {
        std::fprintf(stderr, "screenveil-voice: no usable installation is registered\n");
        return kRefused;
    }
    const bool automatic = platform::EnvironmentIs("WARDEN_VOICE_AUTO", "1");
    screenveil_voice::CheckMessages messages(automatic);
    CMessageService::Install(&messages);
    const int status = RunCheck(stores, automatic, verdictChannel);
    CMessageService::Install(nullptr);
    return status;
}
