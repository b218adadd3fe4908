// wardengate-verify: the voice part of the PAM module, run as a process of its own so that nothing that
// goes wrong in it can log anyone on. It trusts the installation of WARDEN_ROOT only after the strict check,
// verifies the user's voice and reports on standard output, one line each:
//
//   info TEXT                 a prompt or the word to say, for the PAM conversation
//   reading-ended             a reading has been taken
//   result WORD SCORE REASON  accept, deny, unknown or unavailable; the last line
//
//   wardengate-verify --user NAME [--attempts N] [--display]
//
// With --display the readings are taken in the logon plug-in's window on DISPLAY; without it the prompts
// go out as info lines and the readings start by themselves.
//
// Exit status 0 only after "result accept", 1 after any other result, 2 on a usage error.

#include "DisplayProbe.h"
#include "HelperVoiceLogon.h"
#include "InstallationGate.h"
#include "WindowVoiceLogon.h"

#include "platform/BoundaryGuard.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

namespace {

constexpr int kExitAccepted = 0;
constexpr int kExitNotAccepted = 1;
constexpr int kExitUsage = 2;
constexpr int kMaxAttempts = 5;

// The report has standard output to itself: the engine writes progress lines there too.
std::FILE* g_report = stdout;

void Line(const std::string& text)
{
    // A line break inside a text would let it pass for a line of its own.
    std::string flat = text;
    for (char& c : flat) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    std::fprintf(g_report, "%s\n", flat.c_str());
    std::fflush(g_report);
}

void SeparateReport()
{
    const int report = ::dup(STDOUT_FILENO);
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (report < 0 || nowhere < 0)
        return;
    std::FILE* stream = ::fdopen(report, "w");
    if (stream == nullptr || ::dup2(nowhere, STDOUT_FILENO) < 0)
        return;
    ::close(nowhere);
    g_report = stream;
}

struct Arguments
{
    std::string user;
    int attempts = 3;
    bool display = false;
};

bool ParseArguments(int argc, char** argv, Arguments& arguments)
{
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--display") == 0)
            arguments.display = true;
        else if (std::strcmp(argv[i], "--user") == 0 && hasValue)
            arguments.user = argv[++i];
        else if (std::strcmp(argv[i], "--attempts") == 0 && hasValue)
            arguments.attempts = std::atoi(argv[++i]);
        else
            return false;
    }
    return !arguments.user.empty() && arguments.attempts >= 1 && arguments.attempts <= kMaxAttempts;
}

wardengate::VoiceVerdict Verify(const Arguments& arguments)
{
    wardengate::VoiceVerdict verdict;
    std::string appPath;
    // Only root, or the user himself, may own what decides whether he is let in.
    const passwd* account = ::getpwnam(arguments.user.c_str());
    const uid_t mayOwn = account ? account->pw_uid : 0;
    if (!wardengate::TrustInstallation(mayOwn, appPath, verdict.reason))
        return verdict;
    wardengate::VoiceLogonReport report;
    report.info = [](const std::string& text) { Line("info " + text); };
    report.readingEnded = [] { Line("reading-ended"); };
    if (arguments.display) {
        // The window opens the installation's stores itself, as the logon plug-in's window does.
        report.window = [&](wardengate::LogonStores&) {
            return wardengate::RunWindowVoiceLogon(arguments.user, arguments.attempts, report.info);
        };
    }
    return wardengate::RunVoiceLogon(arguments.user, arguments.attempts, report);
}

} // namespace

int main(int argc, char** argv)
{
    Arguments arguments;
    if (!ParseArguments(argc, argv, arguments)) {
        std::fprintf(stderr, "usage: wardengate-verify --user NAME [--attempts 1..%d] [--display]\n", kMaxAttempts);
        return kExitUsage;
    }
    SeparateReport();
    // Only a session with a display gets a window system; a console never needs one. A display that does not
    // let us in (a stale one, or one whose server refuses our credentials) would end the helper in the window
    // system: the readings are then asked for through the conversation.
    if (arguments.display && !wardengate::HasDisplay())
        arguments.display = false;
    int qtArgc = 1;
    std::optional<QApplication> application;
    if (arguments.display)
        application.emplace(qtArgc, argv);
    wardengate::VoiceVerdict verdict;
    verdict.reason = "internal error";
    platform::GuardedCall([&] { verdict = Verify(arguments); });
    Line(std::string("result ") + wardengate::VerdictWord(verdict.kind) + " " + verdict.score + " " + verdict.reason);
    return verdict.kind == wardengate::VerdictKind::Accept ? kExitAccepted : kExitNotAccepted;
}
