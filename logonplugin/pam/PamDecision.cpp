#include "PamDecision.h"

#include "VoiceVerdict.h"

#include <security/_pam_types.h>

#include <sstream>

namespace wardengate::pam {
namespace {

PamDecision Unavailable(std::string result, std::string reason)
{
    return PamDecision {PAM_AUTHINFO_UNAVAIL, std::move(result), std::move(reason), "-"};
}

int CodeOf(VerdictKind kind)
{
    switch (kind) {
    case VerdictKind::Accept:
        return PAM_SUCCESS;
    case VerdictKind::Deny:
        return PAM_AUTH_ERR;
    case VerdictKind::Unknown:
        return PAM_IGNORE;
    case VerdictKind::Unavailable:
        break;
    }
    return PAM_AUTHINFO_UNAVAIL;
}

} // namespace

PamDecision DecideFromHelper(const HelperRun& run)
{
    if (!run.started)
        return Unavailable("unavailable", run.startError);
    if (run.timedOut)
        return Unavailable("timeout", "the voice part did not finish in time");
    if (!run.exitedNormally)
        return Unavailable("crash", "the voice part ended by signal " + std::to_string(run.signal));
    std::istringstream line(run.resultLine);
    std::string tag;
    std::string word;
    PamDecision decision;
    VerdictKind kind = VerdictKind::Unavailable;
    line >> tag >> word >> decision.score;
    std::getline(line >> std::ws, decision.reason);
    if (tag != "result" || !VerdictFromWord(word, kind) || decision.score.empty())
        return Unavailable("crash", "the voice part gave no result");
    // The status must agree with the line: a helper that says accept and fails is not believed.
    const bool statusAgrees = (kind == VerdictKind::Accept) == (run.exitStatus == 0);
    if (!statusAgrees)
        return Unavailable("crash", "the voice part contradicted itself");
    decision.code = CodeOf(kind);
    decision.result = word;
    return decision;
}

} // namespace wardengate::pam
