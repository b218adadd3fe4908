#include "WindowLogon.h"

#include "InstallationGate.h"
#include "LogonWindow.h"

#include <QApplication>

#include <memory>

#include <unistd.h>

namespace wardengate {

namespace {

/** The application of this call when the host has none; Qt keeps argc and argv for the application's life. */
std::unique_ptr<QApplication> OwnApplication()
{
    static int argc = 1;
    static char name[] = "WardenGate";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace

LogonOutcome RunWindowLogon(std::FILE* errors)
{
    std::string error;
    std::string appPath;
    if (!TrustInstallation(::geteuid(), appPath, error)) {
        std::fprintf(errors, "%s\n", error.c_str());
        return {};
    }
    std::unique_ptr<QApplication> own;
    if (QCoreApplication::instance() == nullptr)
        own = OwnApplication();
    else if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fprintf(errors, "the logon host's application cannot show windows\n");
        return {};
    }
    LogonOutcome outcome;
    {
        LogonWindow window;
        outcome.result = window.exec();
        if (outcome.result == 1) {
            outcome.userId = window.LogonUser();
            outcome.password = window.LogonPassword();
        }
    }
    own.reset();
    return outcome;
}

} // namespace wardengate
