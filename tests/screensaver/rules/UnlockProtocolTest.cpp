#include "rules/UnlockProtocol.h"

#include <gtest/gtest.h>

namespace screenveil {
namespace {

VoiceCheckOutcome Clean(std::string output)
{
    VoiceCheckOutcome outcome;
    outcome.exitedNormally = true;
    outcome.exitCode = 0;
    outcome.output = std::move(output);
    return outcome;
}

TEST(UnlockProtocol, ACleanAcceptanceNamesTheUser)
{
    EXPECT_EQ(AcceptedUser(Clean(AcceptanceLine("tanaka"))), std::optional<std::string>("tanaka"));
}

struct Refusal
{
    const char* why;
    VoiceCheckOutcome outcome;
};

void PrintTo(const Refusal& refusal, std::ostream* out)
{
    *out << refusal.why;
}

class RefusedOutcome : public ::testing::TestWithParam<Refusal>
{
};

TEST_P(RefusedOutcome, OpensNothing)
{
    EXPECT_EQ(AcceptedUser(GetParam().outcome), std::nullopt) << GetParam().why;
}

VoiceCheckOutcome With(VoiceCheckOutcome outcome, bool normal, int code, bool timedOut)
{
    outcome.exitedNormally = normal;
    outcome.exitCode = code;
    outcome.timedOut = timedOut;
    return outcome;
}

INSTANTIATE_TEST_SUITE_P(Outcomes, RefusedOutcome,
    ::testing::Values(Refusal {"crash or signal", With(Clean(AcceptanceLine("tanaka")), false, 0, false)},
        Refusal {"status 1", With(Clean(AcceptanceLine("tanaka")), true, 1, false)},
        Refusal {"timed out", With(Clean(AcceptanceLine("tanaka")), true, 0, true)}, Refusal {"no output", Clean("")},
        Refusal {"no line end", Clean("accepted tanaka")}, Refusal {"no user", Clean("accepted \n")},
        Refusal {"two lines", Clean("accepted tanaka\naccepted sato\n")},
        Refusal {"output before", Clean("progress 1\naccepted tanaka\n")},
        Refusal {"blank in the ID", Clean("accepted tanaka sato\n")},
        Refusal {"another word", Clean("Accepted tanaka\n")},
        Refusal {"too long", Clean("accepted " + std::string(kLongestCheckOutput, 'a') + "\n")}));

} // namespace
} // namespace screenveil
