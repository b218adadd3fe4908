#include "rules/DisplaySettings.h"
#include "rules/SlideGeometry.h"
#include "rules/SlideSchedule.h"
#include "rules/Transitions.h"

#include <gtest/gtest.h>

#include <vector>

namespace screenveil {
namespace {

TEST(ColourText, ChannelsWrapAtTwoHundredFiftySixAndMissingOnesAreZero)
{
    EXPECT_EQ(ParseColourText("128,128,192"), (Rgb {128, 128, 192}));
    EXPECT_EQ(ParseColourText("300,-1,256"), (Rgb {44, 255, 0}));
    EXPECT_EQ(ParseColourText("10"), (Rgb {10, 0, 0}));
    EXPECT_EQ(ParseColourText(""), (Rgb {0, 0, 0}));
    EXPECT_EQ(ParseColourText("a,5,"), (Rgb {0, 5, 0}));
    EXPECT_EQ(ColourText(Rgb {202, 188, 21}), "202,188,21");
}

TEST(PictureKind, LastThreeLettersInAnyCase)
{
    EXPECT_EQ(PictureKindOf("/a/b.JPG"), PictureKind::Jpeg);
    EXPECT_EQ(PictureKindOf("c.bMp"), PictureKind::Bmp);
    EXPECT_EQ(PictureKindOf("photo.jpeg"), PictureKind::Unsupported);
    EXPECT_EQ(PictureKindOf("x.png"), PictureKind::Unsupported);
    EXPECT_EQ(PictureKindOf("mp"), PictureKind::Unsupported);
}

TEST(PlacePicture, OwnSizeIsCentredAndALargeOneClippedEvenly)
{
    EXPECT_EQ(PlacePicture(800, 600, 1024, 768, false), (Rect {112, 84, 800, 600}));
    EXPECT_EQ(PlacePicture(2048, 1000, 1024, 768, false), (Rect {-512, -116, 2048, 1000}));
}

TEST(PlacePicture, FittingKeepsTheProportionsAndTouchesTwoEdges)
{
    EXPECT_EQ(PlacePicture(800, 600, 1024, 768, true), (Rect {0, 0, 1024, 768}));
    EXPECT_EQ(PlacePicture(400, 100, 1000, 1000, true), (Rect {0, 375, 1000, 250}));
    EXPECT_EQ(PlacePicture(100, 400, 1000, 1000, true), (Rect {375, 0, 250, 1000}));
    EXPECT_EQ(PlacePicture(0, 400, 1000, 1000, true), (Rect {}));
}

TEST(SlideSchedule, APictureStaysItsIntervalAndHalfASecondThenTheListWraps)
{
    SlideSchedule schedule(3, 5);
    schedule.Started(1000);
    EXPECT_FALSE(schedule.Due(1000 + 5499));
    EXPECT_TRUE(schedule.Due(1000 + 5500));
    EXPECT_EQ(schedule.Next(), 1u);
    EXPECT_EQ(schedule.Next(), 2u);
    EXPECT_EQ(schedule.Next(), 0u);
}

// Paints every copy of a plan into a grid and says whether each pixel got the picture's own pixel.
std::vector<int> Replay(const std::vector<TransitionStep>& plan, int width, int height, bool stopBeforeLast)
{
    std::vector<int> grid(static_cast<std::size_t>(width * height), -1);
    const std::size_t steps = stopBeforeLast ? plan.size() - 1 : plan.size();
    for (std::size_t s = 0; s < steps; ++s) {
        for (const StripCopy& copy : plan[s].copies) {
            EXPECT_GE(copy.source.x, 0);
            EXPECT_GE(copy.source.y, 0);
            EXPECT_LE(copy.source.x + copy.source.width, width);
            EXPECT_LE(copy.source.y + copy.source.height, height);
            for (int y = 0; y < copy.source.height; ++y)
                for (int x = 0; x < copy.source.width; ++x) {
                    const int dx = copy.destX + x;
                    const int dy = copy.destY + y;
                    EXPECT_TRUE(dx >= 0 && dx < width && dy >= 0 && dy < height);
                    grid[static_cast<std::size_t>(dy * width + dx)] = (copy.source.y + y) * width + copy.source.x + x;
                }
        }
    }
    return grid;
}

bool Complete(const std::vector<int>& grid)
{
    for (std::size_t i = 0; i < grid.size(); ++i)
        if (grid[i] != static_cast<int>(i))
            return false;
    return true;
}

TEST(Transitions, EveryBmpPlanStaysInsideAndShowsThePictureWithoutItsClosingCopy)
{
    unsigned state = 7;
    const RandomBelow random = [&](int bound) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % static_cast<unsigned>(bound));
    };
    for (int index = 0; index < kBmpTransitionCount; ++index) {
        const auto plan = BmpTransition(index, 67, 45, random);
        // Slides end on the whole picture by themselves; blinds, wipes and drips cover every pixel.
        EXPECT_TRUE(Complete(Replay(plan, 67, 45, true))) << "transition " << index;
        EXPECT_GT(plan.size(), 2u);
    }
}

TEST(Transitions, EveryJpegPlanShowsThePictureWithoutItsClosingCopy)
{
    for (int index = 0; index < kJpegTransitionCount; ++index)
        EXPECT_TRUE(Complete(Replay(JpegTransition(index, 41, 23), 41, 23, true))) << "transition " << index;
}

TEST(Transitions, BlindsTakeTwentyStepsOfFiftyMilliseconds)
{
    const auto plan = BmpTransition(0, 100, 10, [](int) { return 0; });
    ASSERT_EQ(plan.size(), 21u);
    EXPECT_EQ(plan[0].pauseMs, 50);
    ASSERT_EQ(plan[0].copies.size(), 5u); // column 0 of each of the five strips
    EXPECT_EQ(plan[0].copies[1].source, (Rect {20, 0, 1, 10}));
}

TEST(Transitions, SlideFromTheLeftShowsTheRightHandPartAtTheLeftEdge)
{
    const auto plan = BmpTransition(8, 50, 10, [](int) { return 0; });
    ASSERT_EQ(plan[0].copies.size(), 1u);
    EXPECT_EQ(plan[0].copies[0].source, (Rect {30, 0, 20, 10}));
    EXPECT_EQ(plan[0].copies[0].destX, 0);
    EXPECT_EQ(plan[1].copies[0].source, (Rect {10, 0, 40, 10}));
}

TEST(Transitions, ADripWhoseGeneratorNeverGrowsStillEndsWhole)
{
    const auto plan = BmpTransition(4, 40, 30, [](int) { return 0; });
    EXPECT_LE(plan.size(), 2u * 30 + 1);
    EXPECT_TRUE(Complete(Replay(plan, 40, 30, false)));
}

TEST(Transitions, AnUnknownIndexShowsThePictureAtOnce)
{
    const auto plan = BmpTransition(12, 10, 10, [](int) { return 0; });
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].copies[0].source, (Rect {0, 0, 10, 10}));
}

TEST(TransitionPlayer, HandsOutEveryDueStepSoALateTimerCatchesUp)
{
    TransitionPlayer player(JpegTransition(2, 10, 4), 100); // ten one-column steps of 1 ms, then the whole
    EXPECT_EQ(player.Due(100).size(), 1u);
    EXPECT_EQ(player.Due(100).size(), 0u);
    EXPECT_EQ(player.Due(104).size(), 4u);
    EXPECT_FALSE(player.Finished());
    EXPECT_EQ(player.Due(1000).size(), 6u);
    EXPECT_TRUE(player.Finished());
}

} // namespace
} // namespace screenveil
