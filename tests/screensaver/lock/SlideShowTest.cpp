#include "lock/SlideShow.h"
#include "lock/PictureLoader.h"

#include <gtest/gtest.h>

#include <QImage>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace screenveil {
namespace {

class SlideShowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() / ("slideshow-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string Picture(const std::string& name, QColor colour, const char* format, QSize size = QSize(80, 60))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const std::string path = (m_folder / name).string();
        EXPECT_TRUE(image.save(QString::fromStdString(path), format, 95));
        return path;
    }
    std::string Junk(const std::string& name)
    {
        const std::string path = (m_folder / name).string();
        std::ofstream(path, std::ios::binary) << "BM\x10\x00 not a picture at all";
        return path;
    }

    std::filesystem::path m_folder;
};

TEST_F(SlideShowTest, DecodesAJpegWithLibjpegAndABmp)
{
    PictureFailure failure;
    const QImage jpeg = LoadSlide(Picture("red.jpg", QColor(200, 30, 30), "JPG"), failure);
    ASSERT_FALSE(jpeg.isNull()) << failure.text;
    EXPECT_EQ(jpeg.size(), QSize(80, 60));
    const QColor middle = jpeg.pixelColor(40, 30);
    EXPECT_NEAR(middle.red(), 200, 6);
    EXPECT_NEAR(middle.green(), 30, 6);
    const QImage bmp = LoadSlide(Picture("blue.BMP", QColor(10, 20, 220), "BMP"), failure);
    ASSERT_FALSE(bmp.isNull());
    EXPECT_EQ(bmp.pixelColor(1, 1), QColor(10, 20, 220));
}

TEST_F(SlideShowTest, DamagedOrMissingPicturesAreRefusedWithTheirReason)
{
    PictureFailure failure;
    EXPECT_TRUE(LoadSlide(Junk("bad.jpg"), failure).isNull());
    EXPECT_EQ(failure.caption, "JPEG Fatal Error");
    EXPECT_FALSE(failure.text.empty());
    EXPECT_TRUE(LoadSlide((m_folder / "gone.jpg").string(), failure).isNull());
    EXPECT_EQ(failure.text, "JPEG :\nCan't open " + (m_folder / "gone.jpg").string() + "\n");
    EXPECT_TRUE(LoadSlide(Junk("bad.bmp"), failure).isNull());
    EXPECT_TRUE(LoadSlide(Picture("ok.png", Qt::red, "PNG"), failure).isNull());
}

LockContent Content(std::vector<std::string> pictures, int waitSeconds)
{
    LockContent content;
    content.pictures = std::move(pictures);
    content.display.waitSeconds = waitSeconds;
    return content;
}

TEST_F(SlideShowTest, EachPictureStaysItsIntervalAndHalfASecond)
{
    SlideShow show(
        Content({Picture("a.bmp", Qt::red, "BMP"), Picture("b.jpg", Qt::green, "JPG")}, 5), QSize(200, 100), 1);
    EXPECT_TRUE(show.Tick(0));
    EXPECT_EQ(show.ShownPicture(), 0);
    for (std::int64_t now = 0; now < 5500; now += 250)
        show.Tick(now);
    EXPECT_EQ(show.ShownPicture(), 0);
    EXPECT_EQ(show.Canvas().pixelColor(100, 50), QColor(Qt::red)); // the transition has ended whole
    show.Tick(5500);
    EXPECT_EQ(show.ShownPicture(), 1);
    for (std::int64_t now = 5500; now < 11000; now += 250)
        show.Tick(now);
    show.Tick(11000);
    EXPECT_EQ(show.ShownPicture(), 0);
}

TEST_F(SlideShowTest, AFittedPictureFillsItsPlaceOnTheBackground)
{
    LockContent content = Content({Picture("wide.bmp", Qt::red, "BMP", QSize(40, 10))}, 5);
    content.display.fullSize = true;
    content.display.background = Rgb {1, 2, 3};
    SlideShow show(content, QSize(200, 100), 3);
    for (std::int64_t now = 0; now <= 3000; now += 100)
        show.Tick(now);
    EXPECT_EQ(show.Canvas().pixelColor(100, 50), QColor(Qt::red));
    EXPECT_EQ(show.Canvas().pixelColor(100, 5), QColor(1, 2, 3)); // above the 200 x 50 picture
}

TEST_F(SlideShowTest, DamagedPicturesAreSkippedAndWithoutAnyTheGradientShows)
{
    SlideShow mixed(Content({Junk("x.jpg"), Picture("ok.bmp", Qt::blue, "BMP")}, 5), QSize(100, 100), 1);
    mixed.Tick(0);
    EXPECT_EQ(mixed.ShownPicture(), 1);
    EXPECT_EQ(mixed.SkippedCount(), 1);
    SlideShow none(Content({Junk("y.bmp")}, 5), QSize(100, 255), 1);
    EXPECT_TRUE(none.Tick(0));
    EXPECT_EQ(none.ShownPicture(), -1);
    EXPECT_EQ(none.Canvas().pixelColor(0, 0), QColor(128, 128, 255));
    EXPECT_EQ(none.Canvas().pixelColor(0, 254), QColor(1, 1, 1));
    EXPECT_FALSE(none.Tick(60000));
}

TEST_F(SlideShowTest, StoppingMidTransitionFreezesTheCanvas)
{
    LockContent content = Content({Picture("a.bmp", Qt::red, "BMP", QSize(200, 100))}, 5);
    SlideShow show(content, QSize(200, 100), 5);
    show.Tick(0);
    show.Stop();
    const QImage frozen = show.Canvas();
    EXPECT_FALSE(show.Tick(10000));
    EXPECT_EQ(show.Canvas(), frozen);
    int red = 0;
    for (int y = 0; y < frozen.height(); ++y)
        for (int x = 0; x < frozen.width(); ++x)
            red += frozen.pixelColor(x, y) == QColor(Qt::red) ? 1 : 0;
    EXPECT_GT(red, 0);
    EXPECT_LT(red, 200 * 100); // the transition had not shown the whole picture yet
}

} // namespace
} // namespace screenveil
