// voice-dialog: runs the voice dialog on the registered installation, as the suite's programs will.
//
//   voice-dialog --mode 1|2 --purpose 0..4 --user ID [--word TEXT --nick CODE] [--verify-repeat N] [--auto]
//
// Exit status 0 when the dialog ends with 1 (accepted, or a model trained and stored), 1 when it ends
// with 2 (or the trained model cannot be stored), 2 on a usage or start-up error.

#include "ArgumentParser.h"
#include "AutoPilot.h"
#include "MessageBoxes.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "Setup/SetupFile.h"
#include "voice/VoiceDlg.h"
#include "voice/VoiceEnrolment.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kProgram = "voice-dialog";
constexpr const char* kUsage = "usage: voice-dialog --mode 1|2 --purpose 0..4 --user ID [--word TEXT --nick CODE] "
                               "[--verify-repeat N] [--auto]";

struct Options
{
    int mode = 0;
    int purpose = -1;
    std::string user;
    std::string word;
    std::string nick;
    int verifyRepeat = 1;
    bool automatic = false;
};

bool ParseOptions(const std::vector<std::string>& words, Options& options, std::string& error)
{
    if (!tools::ArgumentParser()
             .Integer("mode", 1, 2, &options.mode)
             .Integer("purpose", 0, 4, &options.purpose)
             .Text("user", &options.user)
             .Text("word", &options.word)
             .Text("nick", &options.nick)
             .Integer("verify-repeat", 1, 8, &options.verifyRepeat)
             .Switch("auto", &options.automatic)
             .Parse(words, error))
        return false;
    if (options.mode == 0 || options.purpose < 0 || options.user.empty()) {
        error = "--mode, --purpose and --user are needed";
        return false;
    }
    return true;
}

/** The installation's stores, opened as the main program opens them. */
struct Stores
{
    CSetupFile setup;
    CAppUserDic users;
    CAppUserVoiceDic voices;
};

bool OpenStores(Stores& stores, std::string& error)
{
    const std::string appPath = stores.setup.GetAppPath();
    if (appPath.empty() || !CSetupFile::IsFileExist(appPath, 1)) {
        error = "no installation folder is registered (see \"wardenctl init\")";
        return false;
    }
    if (stores.setup.Initialize() != 1) {
        error = "cannot open the settings of " + appPath;
        return false;
    }
    if (stores.users.SetUserDicFilePath(appPath + "/halvoxuid.dat") != 1) {
        error = "cannot open the user dictionary: " + stores.users.GetLastErrorText();
        return false;
    }
    if (stores.voices.SetVoiceDicPath(appPath) != 1) {
        error = "cannot open the voice dictionary of " + appPath;
        return false;
    }
    return true;
}

int RunDialog(Stores& stores, const Options& options)
{
    CVoiceDlg dialog;
    dialog.Purpose = options.purpose;
    dialog.Mode = options.mode;
    dialog.VerifyRepeat = options.verifyRepeat;
    dialog.UserID = options.user;
    dialog.Word = options.word;
    dialog.Nick = options.nick;
    dialog.SetupFile = &stores.setup;
    dialog.UserDic = &stores.users;
    dialog.VoiceDic = &stores.voices;
    voice_dialog::AutoPilot pilot(dialog, voice_dialog::ReadingsOfAudioInput());
    if (options.automatic) {
        dialog.SetCaptureFactory(pilot.CountingCapture());
        pilot.Start();
    }
    const int result = dialog.exec();
    std::printf("result %d: user %s, word %s, nick %s, model created %d\n", result, dialog.UserID.c_str(),
        dialog.Word.c_str(), dialog.Nick.c_str(), dialog.ModelCreated);
    if (result != 1)
        return tools::kExitFailed;
    if (options.mode == 1 && dialog.ModelCreated == 1) {
        std::string error;
        if (!talk::voice::StoreEnrolledVoice(stores.users, stores.voices, dialog.UserID, dialog.Nick, error)) {
            std::fprintf(stderr, "%s: the trained model was not stored: %s\n", kProgram, error.c_str());
            return tools::kExitFailed;
        }
    }
    return tools::kExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Options options;
    std::string error;
    // QApplication has taken its own options (-platform ...) out of argv by now.
    if (!ParseOptions(tools::CommandLineWords(argc, argv), options, error))
        return tools::ReportUsageError(kProgram, error + "; " + kUsage);
    Stores stores;
    if (!OpenStores(stores, error))
        return tools::ReportUsageError(kProgram, error);
    voice_dialog::MessageBoxes messages(options.automatic);
    CMessageService::Install(&messages);
    const int status = RunDialog(stores, options);
    CMessageService::Install(nullptr);
    return status;
}
