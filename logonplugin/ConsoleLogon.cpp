#include "ConsoleLogon.h"

#include "LogonFlow.h"

#include <thread>

namespace wardengate {

int RunConsoleLogon(LogonFlow& flow, ConsoleWindow& window, ConsoleUser& user)
{
    while (!flow.Ended()) {
        int id = 0;
        ConsoleWindow::Clock::time_point due;
        if (window.NextTimer(id, due)) {
            std::this_thread::sleep_until(due);
            window.Fired(id);
            flow.OnTimer(id);
        } else {
            user.Act(flow, window.Layout());
        }
    }
    return flow.Result();
}

} // namespace wardengate
