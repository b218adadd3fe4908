#include "skin/SkinFields.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinFieldsTest, FirstParamTakesTheTextBeforeTheSeparatorAndTrimsTheRest)
{
    std::string list = "BUTTON_RECORD ,  10, 20 ";
    EXPECT_EQ(talk::skin_fields::GetFirstParam(list, ","), "BUTTON_RECORD ");
    EXPECT_EQ(list, "10, 20");
    EXPECT_EQ(talk::skin_fields::GetFirstParam(list, ","), "10");
    EXPECT_EQ(list, "20");
}

TEST(SkinFieldsTest, FirstParamWithoutSeparatorReturnsAllAndKeepsTheList)
{
    std::string list = "last";
    EXPECT_EQ(talk::skin_fields::GetFirstParam(list, ","), "last");
    EXPECT_EQ(list, "last");
    EXPECT_EQ(talk::skin_fields::GetFirstParam(list, ","), "last");
}

TEST(SkinFieldsTest, RectangleIsPositionAndSize)
{
    std::string list = "12, 34, 100, 50, rest";
    EXPECT_EQ(talk::skin_fields::StringToRect(list), (SkinRect {12, 34, 112, 84}));
    EXPECT_EQ(list, "rest");
}

TEST(SkinFieldsTest, ShortRectangleRepeatsItsLastField)
{
    std::string list = "5, 6";
    // y = 6 is the last field: it is read again for width and height.
    EXPECT_EQ(talk::skin_fields::StringToRect(list), (SkinRect {5, 6, 11, 12}));
}

TEST(SkinFieldsTest, ColourConsumesThreeFields)
{
    std::string list = "255, 128,0,tail";
    EXPECT_EQ(talk::skin_fields::StringToColor(list), (SkinColor {255, 128, 0}));
    EXPECT_EQ(list, "tail");
}

struct IntCase
{
    const char* text;
    int value;
};

class SkinFieldsIntTest : public testing::TestWithParam<IntCase>
{
};

TEST_P(SkinFieldsIntTest, ReadsLikeTheCLibraryWithoutOverflow)
{
    EXPECT_EQ(talk::skin_fields::ToInt(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, SkinFieldsIntTest,
    testing::Values(IntCase {"42", 42}, IntCase {"  -7", -7}, IntCase {"+3x", 3}, IntCase {"x3", 0}, IntCase {"", 0},
        IntCase {"12 34", 12}, IntCase {"99999999999999", 2147483647}, IntCase {"-99999999999999", -2147483647 - 1}));

} // namespace
