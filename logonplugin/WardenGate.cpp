#include "WardenGate.h"

#include "DisplayProbe.h"
#include "LogonSession.h"
#include "LogonTexts.h"
#include "TestAccounts.h"
#include "WindowLogon.h"

#include "platform/BoundaryGuard.h"

#include <cstdio>
#include <cstring>

namespace {

void CopyOut(char* buffer, const char* text) noexcept
{
    if (buffer != nullptr)
        std::memcpy(buffer, text, std::strlen(text) + 1);
}

// The hooks share one body: the plug-in has nothing to do at those moments.
int NothingToDo()
{
    return 0;
}

} // namespace

int CustomCtrlEntry(char* userName, char* password)
{
    // Empty answers stand until a logon has passed, whatever goes wrong on the way.
    CopyOut(userName, "");
    CopyOut(password, "");
    return platform::Guarded(0, [&] {
        const wardengate::LogonOutcome outcome = wardengate::HasDisplay() ? wardengate::RunWindowLogon(stderr)
                                                                          : wardengate::RunTerminalLogon(stdin, stderr);
        if (outcome.result != 1)
            return 0;
        CopyOut(userName, outcome.userId.c_str());
        CopyOut(password, outcome.password.c_str());
        return 1;
    });
}

int UserLogin(const char* userName, const char* /*password*/, void* info)
{
    return platform::Guarded(0, [&] { return wardengate::FillTestAccount(userName ? userName : "", info); });
}

int ChangeUserPassword(const char*, const char*, const char*)
{
    return 1;
}

int IsRequired()
{
    return 0;
}

const char* AboutPlugin()
{
    return wardengate::texts::kAbout;
}

int LoginHook(const char*, const char*)
{
    return NothingToDo();
}

int LogoutHook(const char*, const char*)
{
    return NothingToDo();
}

int ChangePluginSettings(void*)
{
    return NothingToDo();
}
