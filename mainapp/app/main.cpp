// DeskWarden: the suite's tray program. Lists files for encryption, locks the screen, and leads to the
// settings and the user management after a voice check.
//
//   DeskWarden [--no-splash] [FILE]
//
// A second start in the same session hands FILE to the running program and ends with status 0.

#include "app/CommandLine.h"
#include "app/DeskWardenApp.h"
#include "app/MessageBoxes.h"
#include "art/ArtNames.h"

#include "MessageService.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("DeskWarden");
    // Closing a dialog must not end the program while it lives in the tray.
    QApplication::setQuitOnLastWindowClosed(false);
    deskwarden::art::EnsureLoaded();

    std::vector<std::string> words;
    // QApplication has taken its own options (-platform ...) out of argv by now.
    for (int i = 1; i < argc; ++i)
        words.emplace_back(argv[i]);
    std::string error;
    const auto options = deskwarden::app::ParseCommandLine(words, QDir::currentPath().toStdString(), error);
    if (!options) {
        std::fprintf(stderr, "DeskWarden: %s; %s\n", error.c_str(), deskwarden::app::kUsage);
        return deskwarden::app::kExitUsage;
    }
    deskwarden::app::MessageBoxes messages;
    CMessageService::Install(&messages);
    int status = deskwarden::app::kExitRefused;
    {
        deskwarden::app::CDeskWardenApp program;
        status = program.Run(*options);
    }
    CMessageService::Install(nullptr);
    return status;
}
