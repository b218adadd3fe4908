// The PAM module: voice logon for login, sudo and screen lockers, auth only. The voice is judged by the
// helper program in a process of its own; this module only starts it, relays its prompts through the PAM
// conversation, waits for it with a deadline and turns its report into a PAM code. Nothing but an explicit
// acceptance returns PAM_SUCCESS; every other outcome leaves the decision to the next module of the stack.

#include "HelperRun.h"
#include "PamDecision.h"
#include "PamOptions.h"

#include "platform/BoundaryGuard.h"
#include "platform/Environment.h"

#define PAM_SM_AUTH
#include <security/pam_ext.h>
#include <security/pam_modules.h>
#include <sys/auxv.h>
#include <syslog.h>

#include <chrono>
#include <string>
#include <vector>

#define WARDENGATE_PAM_API extern "C" __attribute__((visibility("default")))

namespace {

using namespace wardengate::pam;
using Clock = std::chrono::steady_clock;

constexpr const char* kSearchPath = "/usr/sbin:/usr/bin:/sbin:/bin";

// Names reach the helper's command line and the auth log: anything that could pass for an option, a path or
// a line of its own is refused.
bool UsableUserName(const std::string& name)
{
    if (name.empty() || name.front() == '-' || name.size() > 256)
        return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '/')
            return false;
    }
    return true;
}

std::string Printable(const std::string& text)
{
    std::string shown = text;
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            c = '?';
    }
    return shown;
}

// The helper inherits nothing: only the installation it is to trust and the sound settings that tests and
// demonstrations use. Those settings are taken from the caller's environment only when the caller is who the
// process runs as: in a set-user-ID program (su) they would let the caller play a recording for the voice.
std::vector<std::string> HelperEnvironment(const PamOptions& options)
{
    std::vector<std::string> environment {"WARDEN_ROOT=" + options.root, std::string("PATH=") + kSearchPath};
    if (::getauxval(AT_SECURE) != 0)
        return environment;
    const auto passOn = [&](const platform::EnvironmentKey& key) {
        if (const auto value = platform::EnvironmentText(key))
            environment.push_back(std::string(key.Variable().name) + "=" + *value);
    };
    passOn("WARDEN_AUDIO_INPUT");
    passOn("WARDEN_AUDIO_OUTPUT");
    passOn("WARDEN_AUDIO_MIXER");
    return environment;
}

/** The X display of the session being authenticated, or "" on a console. */
std::string SessionDisplay(pam_handle_t* pamh)
{
    const void* item = nullptr;
    if (pam_get_item(pamh, PAM_XDISPLAY, &item) == PAM_SUCCESS && item != nullptr
        && *static_cast<const char*>(item) != '\0')
        return static_cast<const char*>(item);
    if (const char* display = pam_getenv(pamh, "DISPLAY"); display != nullptr && *display != '\0')
        return display;
    // Screen lockers name the display they lock as the terminal.
    if (pam_get_item(pamh, PAM_TTY, &item) == PAM_SUCCESS && item != nullptr && *static_cast<const char*>(item) == ':')
        return static_cast<const char*>(item);
    return "";
}

void AddDisplay(pam_handle_t* pamh, const std::string& display, std::vector<std::string>& arguments,
    std::vector<std::string>& environment)
{
    if (display.empty())
        return;
    arguments.push_back("--display");
    environment.push_back("DISPLAY=" + display);
    if (const char* authority = pam_getenv(pamh, "XAUTHORITY"); authority != nullptr && *authority == '/')
        environment.push_back(std::string("XAUTHORITY=") + authority);
}

void Log(pam_handle_t* pamh, const std::string& user, const PamDecision& decision, long decisionMs)
{
    const int priority = decision.code == PAM_SUCCESS ? LOG_NOTICE : LOG_WARNING;
    const std::string elapsed = decisionMs < 0 ? std::string("-") : std::to_string(decisionMs);
    pam_syslog(pamh, priority, "voice logon user=%s result=%s code=%s reason=%s score=%s decision_ms=%s",
        Printable(user).c_str(), decision.result.c_str(), pam_strerror(pamh, decision.code),
        Printable(decision.reason).c_str(), decision.score.c_str(), elapsed.c_str());
}

int Authenticate(pam_handle_t* pamh, int flags, int argc, const char** argv)
{
    std::vector<std::string> arguments(argv, argv + argc);
    PamOptions options;
    std::string error;
    if (!ParsePamOptions(arguments, WARDENGATE_HELPER_PATH, options, error)) {
        Log(pamh, "-", PamDecision {PAM_AUTHINFO_UNAVAIL, "unavailable", error, "-"}, -1);
        return PAM_AUTHINFO_UNAVAIL;
    }
    const char* name = nullptr;
    if (pam_get_user(pamh, &name, nullptr) != PAM_SUCCESS || name == nullptr || !UsableUserName(name)) {
        Log(pamh, name ? name : "-", PamDecision {PAM_IGNORE, "unknown", "no usable user name", "-"}, -1);
        return PAM_IGNORE;
    }
    const std::string user = name;
    const bool silent = (flags & PAM_SILENT) != 0;
    const auto info = [&](const std::string& text) {
        if (!silent)
            pam_info(pamh, "%s", text.c_str());
    };
    std::vector<std::string> helperArguments {"--user", user, "--attempts", std::to_string(options.attempts)};
    std::vector<std::string> environment = HelperEnvironment(options);
    AddDisplay(pamh, SessionDisplay(pamh), helperArguments, environment);
    const HelperRun run
        = RunHelper(options.helper, helperArguments, environment, std::chrono::seconds(options.timeoutSeconds), info);
    const PamDecision decision = DecideFromHelper(run);
    const long decisionMs = run.lastReadingEnd == Clock::time_point {}
        ? -1
        : static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - run.lastReadingEnd).count());
    Log(pamh, user, decision, decisionMs);
    return decision.code;
}

} // namespace

WARDENGATE_PAM_API int pam_sm_authenticate(pam_handle_t* pamh, int flags, int argc, const char** argv)
{
    return platform::Guarded(PAM_AUTHINFO_UNAVAIL, [&] { return Authenticate(pamh, flags, argc, argv); });
}

WARDENGATE_PAM_API int pam_sm_setcred(pam_handle_t*, int, int, const char**)
{
    // The voice proves who someone is and grants nothing further.
    return PAM_SUCCESS;
}
