// skin-preview: shows a skin dialog with every item of the voice dialog, records one reading through the
// recorder (ALSA, or the WAV files named by WARDEN_AUDIO_INPUT) and draws it with the engine's endpoints.
//
//   skin-preview [--app-path DIR] [--skin NAME] [--record] [--quit-after MS]

#include "PreviewDialog.h"

#include "ArgumentParser.h"
#include "MessageService.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <limits>
#include <string>
#include <vector>

namespace {

// Message boxes of the class library, shown as Qt message boxes.
class BoxMessageService : public CMessageService
{
public:
    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept override
    {
        QMessageBox::Icon qtIcon = icon == MessageIcon::Error ? QMessageBox::Critical
            : icon == MessageIcon::Warning                    ? QMessageBox::Warning
                                                              : QMessageBox::Information;
        QMessageBox box(qtIcon, QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok);
        box.exec();
    }
};

struct Options
{
    std::string appPath = SKIN_PREVIEW_DATA_DIR;
    std::string skin = "default";
    bool record = false;
    int quitAfterMs = 0;
};

bool ParseOptions(const std::vector<std::string>& words, Options& options, std::string& error)
{
    return tools::ArgumentParser()
        .Text("app-path", &options.appPath)
        .Text("skin", &options.skin)
        .Switch("record", &options.record)
        .Integer("quit-after", 0, std::numeric_limits<int>::max(), &options.quitAfterMs)
        .Parse(words, error);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Options options;
    std::string error;
    // QApplication has taken its own options (-platform ...) out of argv by now.
    if (!ParseOptions(tools::CommandLineWords(argc, argv), options, error)) {
        return tools::ReportUsageError("skin-preview",
            error + "; usage: skin-preview [--app-path DIR] [--skin NAME] [--record] [--quit-after MS]");
    }
    BoxMessageService messages;
    CMessageService::Install(&messages);

    skin_preview::PreviewDialog dialog;
    dialog.SetSkinFile(options.skin, "Marlow", options.appPath);
    dialog.setWindowTitle("Marlow");
    if (options.record)
        QTimer::singleShot(300, &dialog, &skin_preview::PreviewDialog::StartRecording);
    if (options.quitAfterMs > 0)
        QTimer::singleShot(options.quitAfterMs, &dialog, &QDialog::accept);
    dialog.show();
    dialog.activateWindow();
    int result = dialog.exec();
    CMessageService::Install(nullptr);
    return result == QDialog::Accepted ? tools::kExitOk : tools::kExitFailed;
}
