#pragma once

#include "ConsoleWindow.h"

namespace wardengate {

class LogonFlow;

/** Stands for the person at a terminal logon: asked to act whenever the dialog waits for him. */
class ConsoleUser
{
public:
    virtual ~ConsoleUser() = default;
    /** Fills fields and presses a button or Enter on `flow`, whose window shows `layout`. */
    virtual void Act(LogonFlow& flow, int layout) = 0;
};

/**
 * Runs a started logon flow on a terminal window until it ends: fires its timers when due and hands over to
 * the user whenever no timer runs (the dialog waits for him).
 * @return the flow's result, 1 or 2.
 */
int RunConsoleLogon(LogonFlow& flow, ConsoleWindow& window, ConsoleUser& user);

} // namespace wardengate
