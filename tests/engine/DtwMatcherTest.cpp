// Same-word distance: hand-computed grids that pin the band, the back-pointer rule and both
// normalisations, the one-sided length rule, and the refusals that keep odd input harmless.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <vector>

#include "DtwMatcher.h"

namespace {

using halvox::DtwMatcher;

// A smooth trajectory through a 20-dimensional space, `frames` frames covering the same path.
std::vector<float> Trajectory(int frames, double scale = 1.0)
{
    std::vector<float> out(static_cast<size_t>(frames) * 20);
    for (int t = 0; t < frames; ++t) {
        const double phase = static_cast<double>(t) / frames;
        for (int d = 0; d < 20; ++d)
            out[static_cast<size_t>(t) * 20 + d] = static_cast<float>(scale * std::sin(6.0 * phase + 0.3 * d));
    }
    return out;
}

struct HandCase
{
    const char* name;
    std::vector<float> first;
    std::vector<float> later;
    double expected;
};

std::ostream& operator<<(std::ostream& out, const HandCase& c)
{
    return out << c.name;
}

class DtwHandComputed : public ::testing::TestWithParam<HandCase>
{
};

// Worked by hand on one-dimensional frames (local distance = |a - b|).
// first {0,2,4} x later {0,1,3,4}: row 1 may not enter column 3 from column 3 again (its back-pointer),
// the path reaches the last column in the last row, so the sum 1 is divided by the 3 rows walked.
// first {0,2,4} x later {0,1,3,9}: the last row's cheapest cell (2, column 2) is not the last column,
// so the divisor is n + 1 = 4.
// first {0,0,0} x later {0,1,1}: staying in column 0 would cost nothing, but its second vertical step is
// forbidden, so the path must leave it in the last row: 1 over 3 rows instead of 0.
INSTANTIATE_TEST_SUITE_P(Grids, DtwHandComputed,
    ::testing::Values(HandCase {"StopsAtLastColumn", {0, 2, 4}, {0, 1, 3, 4}, 1.0 / 3.0},
        HandCase {"RunsAllRows", {0, 2, 4}, {0, 1, 3, 9}, 0.5},
        HandCase {"NoSecondVerticalStep", {0, 0, 0}, {0, 1, 1}, 1.0 / 3.0},
        HandCase {"Identical", {0, 2, 4}, {0, 2, 4}, 0.0}),
    [](const auto& info) { return info.param.name; });

TEST_P(DtwHandComputed, MatchesTheWorkedValue)
{
    const HandCase& c = GetParam();
    const double distance = DtwMatcher(1).Distance(
        c.first.data(), static_cast<int>(c.first.size()), c.later.data(), static_cast<int>(c.later.size()));
    EXPECT_NEAR(distance, c.expected, 1e-6);
}

TEST(DtwMatcher, IdenticalReadingsAreAtDistanceZero)
{
    const auto reading = Trajectory(120);
    EXPECT_EQ(DtwMatcher(20).Distance(reading.data(), 120, reading.data(), 120), 0.0);
}

TEST(DtwMatcher, LengthRuleIsOneSided)
{
    const auto shortReading = Trajectory(100);
    const auto longReading = Trajectory(201);
    const DtwMatcher matcher(20);
    // A later reading more than twice as long as the first is never the same word...
    EXPECT_EQ(matcher.Distance(shortReading.data(), 100, longReading.data(), 201), DtwMatcher::kFar);
    // ...but a first reading of 201 frames against a later one of 100 is compared: 201 / 2 = 100 is not above 100.
    const double reverse = matcher.Distance(longReading.data(), 201, shortReading.data(), 100);
    EXPECT_LT(reverse, 1.0);
    // Exactly twice as long is still compared.
    const auto doubleReading = Trajectory(200);
    EXPECT_LT(matcher.Distance(shortReading.data(), 100, doubleReading.data(), 200), 1.0);
    // A later reading shorter than half the first is not.
    const auto halfReading = Trajectory(49);
    EXPECT_EQ(matcher.Distance(shortReading.data(), 100, halfReading.data(), 49), DtwMatcher::kFar);
}

TEST(DtwMatcher, DifferentPathsAreFartherThanRetimedOnes)
{
    const auto first = Trajectory(150);
    const auto retimed = Trajectory(130);
    const auto louder = Trajectory(130, 2.0);
    const DtwMatcher matcher(20);
    const double same = matcher.Distance(first.data(), 150, retimed.data(), 130);
    const double different = matcher.Distance(first.data(), 150, louder.data(), 130);
    EXPECT_LT(same, 0.5);
    EXPECT_GT(different, same + 1.0);
}

TEST(DtwMatcher, RunawayAccumulationGivesTheFarValue)
{
    // Rows averaging more than 1000 per frame stop the walk.
    const std::vector<float> quiet(10, 0.0f);
    const std::vector<float> loud(10, 5000.0f);
    EXPECT_EQ(DtwMatcher(1).Distance(quiet.data(), 10, loud.data(), 10), DtwMatcher::kFar);
}

TEST(DtwMatcher, UnusableInputGivesTheFarValue)
{
    const std::vector<float> one(20, 1.0f);
    const auto reading = Trajectory(3);
    const DtwMatcher matcher(20);
    // A single frame is no word to compare, even against itself.
    EXPECT_EQ(matcher.Distance(one.data(), 1, one.data(), 1), DtwMatcher::kFar);
    EXPECT_EQ(matcher.Distance(reading.data(), 3, one.data(), 1), DtwMatcher::kFar);
    EXPECT_EQ(matcher.Distance(reading.data(), 0, reading.data(), 0), DtwMatcher::kFar);
    EXPECT_EQ(matcher.Distance(reading.data(), 1, reading.data(), 0), DtwMatcher::kFar);
    EXPECT_EQ(matcher.Distance(nullptr, 3, reading.data(), 3), DtwMatcher::kFar);
    EXPECT_EQ(DtwMatcher(0).Distance(reading.data(), 3, reading.data(), 3), DtwMatcher::kFar);
    EXPECT_EQ(matcher.Distance(reading.data(), -5, reading.data(), 3), DtwMatcher::kFar);
}

TEST(DtwMatcher, TwoFramesAreCompared)
{
    const std::vector<float> first {0.0f, 2.0f};
    const std::vector<float> later {0.0f, 2.0f};
    EXPECT_EQ(DtwMatcher(1).Distance(first.data(), 2, later.data(), 2), 0.0);
}

} // namespace
