// Decisions and status lines of verification and of the live-versus-recording check.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "DecisionLines.h"
#include "LocalClock.h"

namespace {

using halvox::DecideLiveCheck;
using halvox::DecideVerification;

struct ThresholdCase
{
    float ratio;
    float trainedRatio;
    float margin;
    bool accepted;
};

class VerificationThreshold : public ::testing::TestWithParam<ThresholdCase>
{
};

// A background score of 1 makes the ratio the user score itself, exactly (a float widened to double and back).
TEST_P(VerificationThreshold, AcceptsOnlyRatiosStrictlyBelowTheThreshold)
{
    const ThresholdCase c = GetParam();
    EXPECT_EQ(DecideVerification(c.ratio, 1.0, c.trainedRatio, c.margin).accepted, c.accepted);
}

INSTANTIATE_TEST_SUITE_P(Cases, VerificationThreshold,
    ::testing::Values(ThresholdCase {0.74f, 0.5f, 0.25f, true}, ThresholdCase {0.75f, 0.5f, 0.25f, false},
        // One float step below and above the threshold.
        ThresholdCase {std::nextafter(0.75f, 0.0f), 0.5f, 0.25f, true},
        ThresholdCase {std::nextafter(0.75f, 1.0f), 0.5f, 0.25f, false},
        // A margin of 0 accepts only readings that score better than the enrolment did.
        ThresholdCase {0.5f, 0.5f, 0.0f, false}, ThresholdCase {0.49f, 0.5f, 0.0f, true},
        // A larger margin accepts what a smaller one denies.
        ThresholdCase {0.8f, 0.5f, 0.26f, false}, ThresholdCase {0.8f, 0.5f, 0.4f, true},
        // A ratio that is not a number is never accepted.
        ThresholdCase {std::nanf(""), 0.5f, 0.25f, false}));

TEST(VerificationThreshold, ZeroScoresGiveNoRatioAndAreDenied)
{
    EXPECT_FALSE(DecideVerification(0.0, 0.0, 0.5f, 0.25f).accepted);
}

TEST(VerificationThreshold, TheRatioIsTakenInSinglePrecisionAndKeptWithItsParts)
{
    // 1/3 in double lies between two floats; the decision compares and reports the float.
    const auto decision = DecideVerification(-1.0, -3.0, 0.2f, 0.13f);
    EXPECT_EQ(decision.ratio, 1.0f / 3.0f);
    EXPECT_EQ(decision.userScore, -1.0);
    EXPECT_EQ(decision.backgroundScore, -3.0);
    EXPECT_EQ(decision.trainedRatio, 0.2f);
    EXPECT_EQ(decision.securityMargin, 0.13f);
    EXPECT_EQ(decision.threshold, 0.2f + 0.13f);
    EXPECT_FALSE(decision.accepted);
}

TEST(VerificationThreshold, SumsTheThresholdInSinglePrecision)
{
    // 1 + 2^-30 is above 1 in double but rounds to 1 in float, so a ratio of exactly 1 is denied.
    const float tinyMargin = std::ldexp(1.0f, -30);
    const auto decision = DecideVerification(1.0, 1.0, 1.0f, tinyMargin);
    EXPECT_FALSE(decision.accepted);
    EXPECT_EQ(decision.threshold, 1.0f);
}

TEST(VerificationLine, AcceptAndDenyLinesCarryEveryNumberInOrder)
{
    const auto accepted = DecideVerification(-2.0, -4.0, 0.5f, 0.25f);
    EXPECT_EQ(halvox::VerificationLine(accepted, "/e/word128/aaj_m.bin"),
        "[Accept-0.000] 0.500000(-2.000/-4.000) : 0.750000(0.500+0.250) /e/word128/aaj_m.bin");
    const auto denied = DecideVerification(-3.2, -4.0, 0.5f, 0.25f);
    EXPECT_EQ(halvox::VerificationLine(denied, "/e/word128/aaj_f.bin"),
        "[Denied-0.000] 0.800000(-3.200/-4.000) : 0.750000(0.500+0.250) /e/word128/aaj_f.bin");
}

TEST(LiveCheck, ComparesTheBackgroundScoreWithTheScaledRecordingScore)
{
    const auto live = DecideLiveCheck(-3.0, -1.5, 2.4);
    EXPECT_TRUE(live.live);
    EXPECT_EQ(live.backgroundScore, -3.0);
    EXPECT_DOUBLE_EQ(live.scaledRecordingScore, -3.6);
    EXPECT_DOUBLE_EQ(live.ratio, -3.0 / -3.6);
    EXPECT_FALSE(DecideLiveCheck(-4.0, -1.5, 2.4).live);
    EXPECT_TRUE(DecideLiveCheck(-1.5 * 2.4, -1.5, 2.4).live); // equal counts as live
}

TEST(LiveCheck, LiveLineEndsWithATabAndRecordLineDoesNot)
{
    EXPECT_EQ(halvox::LiveCheckLine(DecideLiveCheck(-3.0, -1.5, 2.4), "03/07/24", "09:05:01", "alice"),
        "03/07/24\t09:05:01\talice\t[Live]\t0.833333(-3.000/-3.600)\t");
    EXPECT_EQ(halvox::LiveCheckLine(DecideLiveCheck(-4.0, -1.5, 2.4), "03/07/24", "09:05:01", "alice"),
        "03/07/24\t09:05:01\talice\t[Record]\t1.111111(-4.000/-3.600)");
}

TEST(LocalClock, DateAndTimeAreTwoDigitFields)
{
    const halvox::LocalDateTime when {2105, 3, 7, 9, 5, 1};
    EXPECT_EQ(halvox::FormatShortDate(when), "03/07/05");
    EXPECT_EQ(halvox::FormatShortTime(when), "09:05:01");
    EXPECT_EQ(halvox::FormatShortDate(halvox::SystemLocalTime()).size(), 8u);
}

} // namespace
