#include "EvalStatistics.h"

#include <gtest/gtest.h>

namespace halvox::tool {
namespace {

TEST(EvalStatistics, SeparatedScoresHaveNoEqualError)
{
    const ErrorRates eer = EqualErrorRate({-0.5, -0.4, -0.3}, {0.2, 0.5, 0.9});
    EXPECT_DOUBLE_EQ(eer.falseAcceptance, 0.0);
    EXPECT_DOUBLE_EQ(eer.falseRejection, 0.0);
    EXPECT_GT(eer.threshold, -0.3);
    EXPECT_LE(eer.threshold, 0.2);
}

// Genuine 1 ... 4 and impostor 3 ... 6 (lower is genuine): from 3.5 up to 4 one trial of each side is on
// the wrong side of the threshold; the lowest such threshold is reported.
TEST(EvalStatistics, OverlappingScoresMeetAtTheCrossing)
{
    const ErrorRates eer = EqualErrorRate({1, 2, 3, 4}, {3, 4, 5, 6});
    EXPECT_DOUBLE_EQ(eer.falseAcceptance, 0.25);
    EXPECT_DOUBLE_EQ(eer.threshold, 3.5);
}

TEST(EvalStatistics, AcceptanceIsStrictlyBelowTheThreshold)
{
    // The engine accepts only a ratio strictly below its threshold: a score of exactly 0 is a denial.
    const ErrorRates rates = RatesAt({-0.1, 0.0}, {0.0, 0.3}, 0.0);
    EXPECT_DOUBLE_EQ(rates.falseRejection, 0.5);
    EXPECT_DOUBLE_EQ(rates.falseAcceptance, 0.0);
}

TEST(EvalStatistics, EmptySidesGiveZeroes)
{
    const ErrorRates eer = EqualErrorRate({}, {1.0});
    EXPECT_EQ(eer.falseAcceptance, 0.0);
    EXPECT_EQ(eer.threshold, 0.0);
    EXPECT_TRUE(DetCurve({}, {}).empty());
}

TEST(EvalStatistics, DetCurveRunsFromRejectAllToAcceptAll)
{
    const std::vector<ErrorRates> curve = DetCurve({0.1, -0.2, 0.4}, {0.3, 0.9});
    ASSERT_EQ(curve.size(), 6u); // five distinct scores and one above the highest
    EXPECT_DOUBLE_EQ(curve.front().falseAcceptance, 0.0);
    EXPECT_DOUBLE_EQ(curve.front().falseRejection, 1.0);
    EXPECT_DOUBLE_EQ(curve.back().falseAcceptance, 1.0);
    EXPECT_DOUBLE_EQ(curve.back().falseRejection, 0.0);
    for (std::size_t k = 1; k < curve.size(); ++k) {
        EXPECT_GE(curve[k].falseAcceptance, curve[k - 1].falseAcceptance);
        EXPECT_LE(curve[k].falseRejection, curve[k - 1].falseRejection);
    }
}

struct SessionCase
{
    std::vector<std::vector<bool>> series;
    int length;
    double expected;
};

class SessionAcceptanceTest : public ::testing::TestWithParam<SessionCase>
{
};

TEST_P(SessionAcceptanceTest, CyclicWindows)
{
    EXPECT_DOUBLE_EQ(SessionAcceptance(GetParam().series, GetParam().length), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SessionAcceptanceTest,
    ::testing::Values(
        // One accepted reading in six: windows of five miss it only when they start right after it.
        SessionCase {{{true, false, false, false, false, false}}, 5, 5.0 / 6.0},
        // Windows of one are the per-reading rate.
        SessionCase {{{true, false, false, true}}, 1, 0.5},
        // A series shorter than a session is one session.
        SessionCase {{{false, false}, {false, true}}, 5, 0.5}, SessionCase {{{}, {false, false, false}}, 5, 0.0},
        SessionCase {{{true}}, 0, 0.0}));

} // namespace
} // namespace halvox::tool
