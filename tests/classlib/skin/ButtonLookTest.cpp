#include "skin/ButtonLook.h"

#include <gtest/gtest.h>

namespace {

struct LookCase
{
    ButtonLookState state;
    ButtonPicture picture;
};

class ButtonLookTest : public testing::TestWithParam<LookCase>
{
};

TEST_P(ButtonLookTest, PictureFollowsTheState)
{
    EXPECT_EQ(ChooseButtonPicture(GetParam().state), GetParam().picture);
}

// Fields: toggle, checked, hover, pressed, enabled.
INSTANTIATE_TEST_SUITE_P(States, ButtonLookTest,
    testing::Values(LookCase {{false, false, false, false, true}, ButtonPicture::Normal},
        LookCase {{false, false, true, false, true}, ButtonPicture::Over},
        LookCase {{false, false, true, true, true}, ButtonPicture::Down},
        LookCase {{false, true, false, false, true}, ButtonPicture::Down},
        LookCase {{false, true, true, false, true}, ButtonPicture::Over},
        LookCase {{false, false, false, false, false}, ButtonPicture::Disabled},
        LookCase {{true, true, true, false, true}, ButtonPicture::Down},
        LookCase {{true, false, true, true, false}, ButtonPicture::Normal}));

} // namespace
