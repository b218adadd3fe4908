// How the PAM module reads its arguments and turns the helper's ending into a PAM code: success only on an
// explicit, consistent acceptance.
#include "PamDecision.h"
#include "PamOptions.h"
#include "VoiceVerdict.h"

#include <security/_pam_types.h>

#include <gtest/gtest.h>

namespace {

using namespace wardengate::pam;

HelperRun Exited(int status, std::string line)
{
    HelperRun run;
    run.started = true;
    run.exitedNormally = true;
    run.exitStatus = status;
    run.resultLine = std::move(line);
    return run;
}

struct Case
{
    const char* what;
    HelperRun run;
    int code;
    const char* result;
};

TEST(PamDecision, OnlyAConsistentAcceptanceSucceeds)
{
    HelperRun notStarted;
    notStarted.startError = "cannot start";
    HelperRun killed = Exited(0, "result accept 0.1/0.5 voice accepted");
    killed.exitedNormally = false;
    killed.signal = 11;
    HelperRun late = Exited(0, "result accept 0.1/0.5 voice accepted");
    late.timedOut = true;
    const Case cases[] = {
        {"accepted", Exited(0, "result accept 0.194/0.492 voice accepted"), PAM_SUCCESS, "accept"},
        {"denied", Exited(1, "result deny 2.3/0.5 voice denied"), PAM_AUTH_ERR, "deny"},
        {"unknown user", Exited(1, "result unknown - not a user of the installation"), PAM_IGNORE, "unknown"},
        {"no microphone", Exited(1, "result unavailable - no sound input"), PAM_AUTHINFO_UNAVAIL, "unavailable"},
        {"crashed after saying accept", killed, PAM_AUTHINFO_UNAVAIL, "crash"},
        {"timed out after saying accept", late, PAM_AUTHINFO_UNAVAIL, "timeout"},
        {"not started", notStarted, PAM_AUTHINFO_UNAVAIL, "unavailable"},
        {"accept with a failing status", Exited(1, "result accept 0.1/0.5 voice accepted"), PAM_AUTHINFO_UNAVAIL,
            "crash"},
        {"status 0 without a line", Exited(0, ""), PAM_AUTHINFO_UNAVAIL, "crash"},
        {"status 0 with a word of its own", Exited(0, "result yes 0.1/0.5 fine"), PAM_AUTHINFO_UNAVAIL, "crash"},
        {"status 0 after deny", Exited(0, "result deny 2.3/0.5 voice denied"), PAM_AUTHINFO_UNAVAIL, "crash"},
    };
    for (const Case& c : cases) {
        const PamDecision decision = DecideFromHelper(c.run);
        EXPECT_EQ(decision.code, c.code) << c.what;
        EXPECT_EQ(decision.result, c.result) << c.what;
    }
}

TEST(PamDecision, ReasonAndScoreComeFromTheResultLine)
{
    const PamDecision decision = DecideFromHelper(Exited(1, "result deny 2.323/0.492 voice denied"));
    EXPECT_EQ(decision.score, "2.323/0.492");
    EXPECT_EQ(decision.reason, "voice denied");
}

TEST(PamOptions, ArgumentsOverTheDefaultsAndMistakesRefused)
{
    PamOptions options;
    std::string error;
    ASSERT_TRUE(ParsePamOptions({}, "/usr/libexec/x", options, error));
    EXPECT_EQ(options.root, "/var/lib/deskwarden");
    EXPECT_EQ(options.helper, "/usr/libexec/x");
    ASSERT_TRUE(ParsePamOptions({"root=/srv/w", "timeout=15", "attempts=1", "helper=/opt/h"}, "/x", options, error));
    EXPECT_EQ(options.root, "/srv/w");
    EXPECT_EQ(options.timeoutSeconds, 15);
    EXPECT_EQ(options.attempts, 1);
    EXPECT_EQ(options.helper, "/opt/h");
    for (const char* bad : {"root=relative", "timeout=0", "timeout=5s", "attempts=6", "helper=", "debug", "rot=/x"}) {
        PamOptions fresh;
        EXPECT_FALSE(ParsePamOptions({bad}, "/x", fresh, error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << bad;
    }
}

TEST(VoiceVerdict, ScoreOfTheEngineDecisionLine)
{
    EXPECT_EQ(
        wardengate::ScoreOfDecisionLine("[Accept-0.000] 0.194213(-1.500/-7.700) : 0.492000(0.192+0.300) /x/bg.bin"),
        "0.194/0.492");
    EXPECT_EQ(wardengate::ScoreOfDecisionLine(""), "-");
    EXPECT_EQ(wardengate::ScoreOfDecisionLine("Return value of reestimate() : 0.1"), "-");
}

} // namespace
