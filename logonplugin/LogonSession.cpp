#include "LogonSession.h"

#include "ConsoleLogon.h"
#include "InstallationGate.h"
#include "LogonFlow.h"
#include "LogonStores.h"
#include "TerminalLogon.h"

#include "voice/VoiceEngine.h"

#include <unistd.h>

namespace wardengate {

LogonOutcome RunTerminalLogon(std::FILE* input, std::FILE* labels)
{
    LogonStores stores;
    std::string error;
    std::string appPath;
    if (!TrustInstallation(::geteuid(), appPath, error) || !stores.Open(error)) {
        std::fprintf(labels, "%s\n", error.c_str());
        return {};
    }
    talk::voice::HalvoxVoiceEngine engine;
    talk::voice::SystemVoiceClock clock;
    TerminalDriveChooser drives(input, labels);
    ConsoleWindow window([labels](const std::string& text) { std::fprintf(labels, "%s\n", text.c_str()); });
    LogonServices services;
    services.stores = &stores;
    services.engine = &engine;
    services.clock = &clock;
    services.drives = &drives;
    services.window = &window;
    // Nothing here tells that the machine cannot record; a reading that fails says so itself.
    LogonFlow flow(std::move(services), true);
    TerminalUser user(input, labels);
    flow.Start();
    LogonOutcome outcome;
    outcome.result = RunConsoleLogon(flow, window, user);
    flow.Finish();
    if (outcome.result == 1) {
        outcome.userId = flow.UserID();
        outcome.password = flow.Password();
    }
    return outcome;
}

} // namespace wardengate
