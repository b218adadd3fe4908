// skin-preview: shows a skin dialog with every item of the voice dialog, records one reading through the
// recorder (ALSA, or the WAV files named by WARDEN_AUDIO_INPUT) and draws it with the engine's endpoints.
//
//   skin-preview [--app-path DIR] [--skin NAME] [--record] [--quit-after MS]

#include "PreviewDialog.h"

#include "MessageService.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        auto value = [&](const char* name) -> const char* {
            if (std::strcmp(argv[i], name) != 0 || i + 1 >= argc)
                return nullptr;
            return argv[++i];
        };
        if (const char* v = value("--app-path"))
            options.appPath = v;
        else if (const char* v = value("--skin"))
            options.skin = v;
        else if (const char* v = value("--quit-after"))
            options.quitAfterMs = std::atoi(v);
        else if (std::strcmp(argv[i], "--record") == 0)
            options.record = true;
        else
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: skin-preview [--app-path DIR] [--skin NAME] [--record] [--quit-after MS]\n");
        return 2;
    }
    BoxMessageService messages;
    CMessageService::Install(&messages);

    PreviewDialog dialog;
    dialog.SetSkinFile(options.skin, "Marlow", options.appPath);
    dialog.setWindowTitle("Marlow");
    if (options.record)
        QTimer::singleShot(300, &dialog, &PreviewDialog::StartRecording);
    if (options.quitAfterMs > 0)
        QTimer::singleShot(options.quitAfterMs, &dialog, &QDialog::accept);
    dialog.show();
    dialog.activateWindow();
    int result = dialog.exec();
    CMessageService::Install(nullptr);
    return result == QDialog::Accepted ? 0 : 1;
}
