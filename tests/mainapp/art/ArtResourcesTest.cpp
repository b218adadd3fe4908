#include "art/ArtNames.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace deskwarden::test {
namespace {

namespace art = deskwarden::art;

QImage Load(const char* path)
{
    art::EnsureLoaded();
    return QImage(QString::fromUtf8(path));
}

struct Expected
{
    const char* path;
    int width;
    int height;
};

std::string Name(const testing::TestParamInfo<Expected>& info)
{
    std::string name = info.param.path;
    name = name.substr(name.rfind('/') + 1);
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

class ArtPicture : public testing::TestWithParam<Expected>
{
};

TEST_P(ArtPicture, LoadsAtTheSizeTheWindowCutsItTo)
{
    const QImage image = Load(GetParam().path);
    ASSERT_FALSE(image.isNull()) << GetParam().path;
    EXPECT_EQ(image.width(), GetParam().width);
    EXPECT_EQ(image.height(), GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(Window, ArtPicture,
    testing::Values(Expected {art::kBand, 828, 69}, Expected {art::kColumnLogo, 188, 42},
        Expected {art::kAbout, 400, 240}, Expected {art::kMenuIcons, 96, 16},
        Expected {art::kFrameMinimise.normal, 20, 18}, Expected {art::kFrameMaximise.over, 20, 18},
        Expected {art::kFrameRestore.down, 20, 18}, Expected {art::kFrameClose.normal, 20, 18}),
    Name);
INSTANTIATE_TEST_SUITE_P(UserList, ArtPicture,
    testing::Values(Expected {art::kRowAdmin, 16, 16}, Expected {art::kRowUser, 16, 16},
        Expected {art::kRowAccount, 16, 16}, Expected {art::kCheck, 16, 16}),
    Name);
INSTANTIATE_TEST_SUITE_P(Icon, ArtPicture,
    testing::Values(Expected {art::kIcons[0], 16, 16}, Expected {art::kIcons[1], 32, 32},
        Expected {art::kIcons[2], 48, 48}, Expected {art::kIcons[3], 64, 64}, Expected {art::kIcons[4], 128, 128},
        Expected {art::kIcons[5], 256, 256}),
    Name);

class ArtLargeButton : public testing::TestWithParam<int>
{
};

// A state that shows the same picture as another would leave the button without feedback.
TEST_P(ArtLargeButton, ThreeDistinctStatesOfTheColumnsSize)
{
    const art::StatePictures pictures = art::LargeButtonPictures(GetParam());
    ASSERT_NE(pictures.normal, nullptr);
    const QImage normal = Load(pictures.normal);
    const QImage over = Load(pictures.over);
    const QImage down = Load(pictures.down);
    for (const QImage* image : {&normal, &over, &down}) {
        ASSERT_FALSE(image->isNull());
        EXPECT_EQ(image->size(), QSize(188, 52));
    }
    EXPECT_NE(normal, over);
    EXPECT_NE(normal, down);
    EXPECT_NE(over, down);
}

INSTANTIATE_TEST_SUITE_P(Column, ArtLargeButton, testing::Values(1001, 1002, 1004, 1005, 1080));

TEST(ArtLargeButtonPictures, NoPicturesForAControlOutsideTheColumn)
{
    for (int control : {0, 1003, 1006, 1077}) {
        const art::StatePictures pictures = art::LargeButtonPictures(control);
        EXPECT_EQ(pictures.normal, nullptr) << control;
        EXPECT_EQ(pictures.over, nullptr) << control;
        EXPECT_EQ(pictures.down, nullptr) << control;
    }
}

// The window paints the band's two halves at its two edges with white between them and the blue column
// under the strip: the seams must match those colours or a resized window shows edges.
TEST(ArtBand, SeamsMatchTheWhiteClientAreaAndTheColumn)
{
    const QImage band = Load(art::kBand).convertToFormat(QImage::Format_RGB32);
    const QRgb column = qRgb(0x18, 0x65, 0xE7);
    for (int x = 0; x < art::kBandStrip.width; ++x) {
        for (int y = art::kBandStrip.y; y < art::kBandStrip.y + art::kBandStrip.height; ++y)
            ASSERT_EQ(band.pixel(x, y), column) << x << "," << y;
    }
    const int leftEnd = art::kBandLeft.x + art::kBandLeft.width - 1;
    for (int y = 0; y < art::kBandLeft.height; ++y) {
        EXPECT_EQ(band.pixel(leftEnd, y), qRgb(255, 255, 255)) << "left part, row " << y;
        EXPECT_EQ(band.pixel(art::kBandRight.x, y), qRgb(255, 255, 255)) << "right part, row " << y;
    }
    // The column's top edge continues into the band above the strip.
    EXPECT_EQ(band.pixel(5, art::kBandLeft.height - 1), column);
}

// Each icon of the strip needs both the key colour around it and a picture inside its own 16 pixels.
TEST(ArtMenuIcons, EachCellHoldsAnIconOnTheKeyColour)
{
    const QImage strip = Load(art::kMenuIcons);
    ASSERT_EQ(strip.width(), art::kMenuIconSize * art::kMenuIconCount);
    EXPECT_FALSE(strip.hasAlphaChannel()) << "the menus expect an opaque strip with a key colour";
    const QRgb key = 0xFF000000u | art::kMenuIconKey;
    for (int cell = 0; cell < art::kMenuIconCount; ++cell) {
        int keyed = 0;
        for (int y = 0; y < art::kMenuIconSize; ++y) {
            for (int x = 0; x < art::kMenuIconSize; ++x)
                keyed += strip.pixel(cell * art::kMenuIconSize + x, y) == key ? 1 : 0;
        }
        EXPECT_GT(keyed, 16) << "cell " << cell << " has almost no transparent colour";
        EXPECT_LT(keyed, 16 * 16 - 30) << "cell " << cell << " is almost empty";
    }
}

TEST(ArtIcons, ShieldStandsFreeOnATransparentGround)
{
    for (const char* path : art::kIcons) {
        const QImage icon = Load(path);
        ASSERT_TRUE(icon.hasAlphaChannel()) << path;
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << path;
        EXPECT_EQ(qAlpha(icon.pixel(icon.width() - 1, 0)), 0) << path;
        EXPECT_EQ(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)), 255) << path;
    }
}

TEST(ArtAbout, GroundIsTheBoxsBlue)
{
    const QColor centreLeft = Load(art::kAbout).pixelColor(4, 120);
    EXPECT_NEAR(centreLeft.red(), 0x5A, 24);
    EXPECT_NEAR(centreLeft.green(), 0x71, 24);
    EXPECT_NEAR(centreLeft.blue(), 0xB5, 24);
}

TEST(ArtEnsureLoaded, CallingTwiceKeepsThePicturesAvailable)
{
    art::EnsureLoaded();
    art::EnsureLoaded();
    EXPECT_FALSE(QImage(QString::fromUtf8(art::kCheck)).isNull());
}

} // namespace
} // namespace deskwarden::test
