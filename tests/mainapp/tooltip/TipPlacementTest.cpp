#include "tooltip/TipPlacement.h"

#include <gtest/gtest.h>

namespace deskwarden::tooltip {
namespace {

struct PlacementCase
{
    const char* name;
    ScreenPoint cursor;
    int width;
    int height;
    TipBox screen;
    TipBox expected;
};

class TipPlacement : public testing::TestWithParam<PlacementCase>
{
};

TEST_P(TipPlacement, StaysOnTheScreenNextToTheCursor)
{
    const PlacementCase& c = GetParam();
    EXPECT_EQ(PlaceTip(c.cursor, c.width, c.height, c.screen), c.expected);
}

constexpr TipBox kScreen {0, 0, 800, 600};
// A second monitor right of the first, its work area below a 30-pixel panel.
constexpr TipBox kRightScreen {1920, 30, 1280, 994};

INSTANTIATE_TEST_SUITE_P(Cursor, TipPlacement,
    testing::Values(PlacementCase {"BelowTheCursor", {100, 100}, 300, 60, kScreen, {100, 120, 300, 60}},
        PlacementCase {"PushedLeftAtTheRightEdge", {700, 100}, 300, 60, kScreen, {500, 120, 300, 60}},
        PlacementCase {"AboveTheCursorAtTheBottom", {100, 560}, 300, 60, kScreen, {100, 500, 300, 60}},
        PlacementCase {"JustFitsBelow", {100, 520}, 300, 60, kScreen, {100, 540, 300, 60}},
        PlacementCase {"BottomRightCorner", {790, 590}, 300, 60, kScreen, {500, 530, 300, 60}},
        PlacementCase {"OnASecondScreen", {3150, 1000}, 300, 60, kRightScreen, {2900, 940, 300, 60}},
        PlacementCase {"NeverAboveTheWorkArea", {2000, 40}, 300, 1000, kRightScreen, {2000, 30, 300, 1000}},
        PlacementCase {"WiderThanTheScreen", {400, 100}, 900, 60, kScreen, {0, 120, 900, 60}}),
    [](const testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });

} // namespace
} // namespace deskwarden::tooltip
