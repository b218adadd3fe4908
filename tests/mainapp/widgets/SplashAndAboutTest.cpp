#include "app/AboutDlg.h"
#include "app/SplashWnd.h"
#include "art/ArtNames.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

using namespace deskwarden::app;

TEST(Splash, ShowsTheProgramsPictureWhenTheInstallationHasNone)
{
    art::EnsureLoaded();
    CSplashWnd splash("/no/such/logo.bmp");
    EXPECT_EQ(splash.size(), QImage(art::kAbout).size());
}

TEST(Splash, TheFirstKeyHidesItAndIsSwallowed)
{
    QLineEdit field;
    field.show();
    CSplashWnd splash("/no/such/logo.bmp");
    splash.ShowSplash();
    ASSERT_TRUE(splash.isVisible());
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&field, &press);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(field.text(), "") << "the press that hid the picture does not reach the window";
    QApplication::sendEvent(&field, &press);
    EXPECT_EQ(field.text(), "a") << "later presses go where they belong";
}

TEST(Splash, AMouseButtonHidesIt)
{
    QWidget window;
    CSplashWnd splash("");
    splash.ShowSplash();
    QMouseEvent click(
        QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &click);
    EXPECT_FALSE(splash.isVisible());
}

TEST(AboutBox, ShowsThePictureAndClosesWithItsButton)
{
    CAboutDlg about;
    EXPECT_EQ(about.objectName(), "100");
    auto* close = about.findChild<QPushButton*>("IDOK");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "閉じる");
    about.show();
    close->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

} // namespace
} // namespace deskwarden::test
