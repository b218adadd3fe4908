#include "app/WindowPlacement.h"

#include "../../support/FreshRootTest.h"

#include <gtest/gtest.h>

#include <fstream>

namespace deskwarden::test {
namespace {

using namespace deskwarden::app;

TEST(PlacementText, SixNumbersRoundTrip)
{
    const WindowPlacement placement {10, -20, 837, 516, kShowMaximised, 2};
    EXPECT_EQ(FormatPlacement(placement), "10,-20,837,516,3,2");
    EXPECT_EQ(ParsePlacement("10,-20,837,516,3,2"), placement);
    EXPECT_EQ(ParsePlacement(" 10, -20 ,837,516,3,2 "), placement);
}

TEST(PlacementText, AnythingElseIsIgnored)
{
    for (const char* text : {"", "1,2,3,4,5", "1,2,3,4,5,6,7", "1,2,3,4,5,x", "a,b,c,d,e,f", "1,,3,4,5,6",
             "100,100,50,200,1,0", "0,0,10,0,1,0", "99999999999,0,1,1,1,0"})
        EXPECT_FALSE(ParsePlacement(text).has_value()) << text;
}

class PlacementProfile : public warden::test::FreshRootTest
{
};

TEST_F(PlacementProfile, IsKeptInTheProgramsProfileInTheWindowsFolder)
{
    const std::string profile = DefaultProfilePath();
    EXPECT_EQ(profile, Path("windows/DeskWarden.ini"));
    EXPECT_FALSE(LoadPlacement(profile).has_value());
    const WindowPlacement placement {5, 6, 700, 500, kShowNormal, 0};
    ASSERT_TRUE(SavePlacement(profile, placement));
    EXPECT_EQ(LoadPlacement(profile), placement);
    std::ifstream file(profile);
    std::string text((std::istreambuf_iterator<char>(file)), {});
    EXPECT_NE(text.find("[Marlow]"), std::string::npos) << text;
    EXPECT_NE(text.find("WindowPlacement=5,6,700,500,1,0"), std::string::npos) << text;
}

} // namespace
} // namespace deskwarden::test
