#include "tooltip/PPTooltip.h"
#include "tooltip/QtColours.h"
#include "tooltip/QtFontMetrics.h"
#include "tooltip/TipPlacement.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextLayout>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using namespace deskwarden::tooltip;

// The encryption button's tip and the main window's colours and background.
const std::string kEncryptTip = "<b><ct=0x0000FF><al_c>ファイル暗号化</b><br><ct=0x00AA00><hr=100%></ct><br>"
                                "自分の音声を使用してファイルを暗号化することができます。";
constexpr Colorref kShadeTop = 0xFFFFFF;
constexpr Colorref kShadeMiddle = 0xFFF7F0;
constexpr Colorref kShadeBottom = 0xD0C0C0;
constexpr int kButtonTipStyle = 148;

TipLook MainWindowLook()
{
    TipLook look {ColourTable(SystemColoursOf(QToolTip::palette()))};
    look.colours.Set(18, kShadeTop);
    look.colours.Set(19, kShadeMiddle);
    look.colours.Set(20, kShadeBottom);
    look.effect = kEffectVerticalShade;
    look.granularity = 2;
    return look;
}

bool IsStrongRed(const QColor& c)
{
    return c.red() > 160 && c.green() < 110 && c.blue() < 110;
}

// Pixels of `image` inside `box` (window coordinates) for which `test` holds.
template<class Test> int CountPixels(const QImage& image, const QRect& box, Test test)
{
    int count = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            count += test(image.pixelColor(x, y)) ? 1 : 0;
        }
    }
    return count;
}

QRect WindowBox(const PlacedText& text)
{
    return QRect(kTipBorder + kTipMarginX + text.x, kTipBorder + kTipMarginY + text.y, text.width, text.height);
}

class TipDrawing : public testing::Test
{
protected:
    TipLook look_ = MainWindowLook();
    QFont font_ = QToolTip::font();
};

TEST_F(TipDrawing, TitleIsRedAndTheTextIsNot)
{
    const TipLayout layout = LayOutTip(kEncryptTip, look_.colours, font_);
    const QImage image = RenderTip(kEncryptTip, look_, font_);
    ASSERT_EQ(layout.texts.size(), 2U);
    const QRect title = WindowBox(layout.texts[0]);
    const QRect text = WindowBox(layout.texts[1]);
    EXPECT_GT(CountPixels(image, title, IsStrongRed), title.width());
    EXPECT_EQ(CountPixels(image, text, IsStrongRed), 0);
    EXPECT_GT(CountPixels(image, text, [](const QColor& c) { return c.lightness() < 80; }), text.width());
}

TEST_F(TipDrawing, RuleIsGreenOverTheRequestedShareOfTheWidth)
{
    const QColor green(0x00, 0xAA, 0x00);
    for (const unsigned percent : {100U, 50U, 25U}) {
        const std::string markup = "<ct=0x00AA00><hr=" + std::to_string(percent) + "%></ct><br>a line of text";
        const TipLayout layout = LayOutTip(markup, look_.colours, font_);
        const QImage image = RenderTip(markup, look_, font_);
        ASSERT_EQ(layout.rules.size(), 1U);
        const int row = kTipBorder + kTipMarginY + layout.rules[0].y;
        const QRect wholeRow(0, row, image.width(), 1);
        const int expected = layout.width * static_cast<int>(percent) / 100;
        EXPECT_EQ(CountPixels(image, wholeRow, [&](const QColor& c) { return c == green; }), expected)
            << percent << "%";
        EXPECT_EQ(image.pixelColor(kTipBorder + kTipMarginX, row), green) << percent << "%";
    }
}

TEST_F(TipDrawing, BackgroundShadesFromWhiteAtTheTopToBlueGreyAtTheBottom)
{
    const QImage image = RenderTip(kEncryptTip, look_, font_);
    const int inside = kTipBorder;
    const int bottom = image.height() - 1 - kTipBorder;
    EXPECT_EQ(image.pixelColor(inside, inside), ToQColor(kShadeTop));
    EXPECT_EQ(image.pixelColor(inside, bottom), ToQColor(kShadeBottom));
    const QColor middle = image.pixelColor(inside, image.height() / 2);
    EXPECT_LT(middle.red(), 0xFF);
    EXPECT_GT(middle.red(), 0xC0);

    look_.effect = kEffectNone;
    const QImage plain = RenderTip(kEncryptTip, look_, font_);
    EXPECT_EQ(plain.pixelColor(inside, bottom), ToQColor(kShadeTop));
}

TEST_F(TipDrawing, OpaqueBackgroundsFillTheirRunOnly)
{
    const std::string markup = "plain <cb=0x00FFFF>marked</cb> plain";
    const TipLayout layout = LayOutTip(markup, look_.colours, font_);
    const QImage image = RenderTip(markup, look_, font_);
    ASSERT_EQ(layout.texts.size(), 3U);
    const auto yellow = [](const QColor& c) { return c == QColor(0xFF, 0xFF, 0x00); };
    EXPECT_GT(CountPixels(image, WindowBox(layout.texts[1]), yellow), layout.texts[1].width);
    EXPECT_EQ(CountPixels(image, WindowBox(layout.texts[0]), yellow), 0);
    EXPECT_EQ(CountPixels(image, WindowBox(layout.texts[2]), yellow), 0);
}

TEST_F(TipDrawing, JapaneseTextFindsItsGlyphs)
{
    // Glyph 0 is the empty box a font draws for a character it lacks.
    QTextLayout text(
        QString::fromUtf8("ファイル暗号化：自分の音声を使用してファイルを暗号化することができます。"), font_);
    text.beginLayout();
    text.createLine();
    text.endLayout();
    const QList<QGlyphRun> runs = text.glyphRuns();
    ASSERT_FALSE(runs.isEmpty());
    for (const QGlyphRun& run : runs) {
        EXPECT_FALSE(run.glyphIndexes().contains(0)) << run.rawFont().familyName().toStdString();
    }
}

// A parent window with one button that shows the encryption tip.
class TooltipWindow : public testing::Test
{
protected:
    TooltipWindow()
    {
        window_.setGeometry(50, 50, 400, 300);
        button_->setGeometry(10, 70, 190, 40);
        window_.show();
        tip_.AddTool(button_, kEncryptTip, kButtonTipStyle);
        const TipLook look = MainWindowLook();
        for (unsigned index = 18; index <= 20; ++index) {
            tip_.SetColor(static_cast<int>(index), *look.colours.Entry(index));
        }
        tip_.SetEffectBk(kEffectVerticalShade, 2);
        tip_.SetBehaviour(1);
    }

    static void Send(QObject* receiver, QEvent& event) { QApplication::sendEvent(receiver, &event); }

    void Enter(const QPoint& at)
    {
        QEnterEvent event(QPointF(button_->mapFromGlobal(at)), QPointF(at), QPointF(at));
        Send(button_, event);
    }

    void Move(const QPoint& at)
    {
        QMouseEvent event(QEvent::MouseMove, QPointF(button_->mapFromGlobal(at)), QPointF(at), Qt::NoButton,
            Qt::NoButton, Qt::NoModifier);
        Send(button_, event);
    }

    void Leave()
    {
        QEvent event(QEvent::Leave);
        Send(button_, event);
    }

    void ShowTipAt(const QPoint& at)
    {
        Enter(at);
        tip_.ElapseTimer(TipTimer::Initial);
        ASSERT_TRUE(tip_.IsTipShown());
    }

    QImage Grab() { return tip_.grab().toImage(); }

    QWidget window_;
    QPushButton* button_ = new QPushButton("暗号化", &window_);
    CPPTooltip tip_ {&window_};
    const QPoint cursor_ {150, 140};
};

TEST_F(TooltipWindow, ShowsAtTheRestingCursorAndHidesAfterTheAutoHideDelay)
{
    EXPECT_EQ(tip_.objectName(), "CPPTooltip");
    EXPECT_TRUE(tip_.windowFlags().testFlag(Qt::ToolTip));
    Enter(cursor_);
    EXPECT_EQ(tip_.CurrentTool(), button_);
    EXPECT_TRUE(tip_.IsTimerRunning(TipTimer::Initial));
    EXPECT_FALSE(tip_.IsTipShown());

    tip_.ElapseTimer(TipTimer::Initial);
    EXPECT_TRUE(tip_.IsTipShown());
    EXPECT_EQ(tip_.pos(), cursor_ + QPoint(0, kCursorClearance));
    EXPECT_TRUE(tip_.IsTimerRunning(TipTimer::AutoHide));
    EXPECT_FALSE(tip_.IsTimerRunning(TipTimer::Initial));

    tip_.ElapseTimer(TipTimer::AutoHide);
    EXPECT_FALSE(tip_.IsTipShown());
    // Resting on after the tip went away brings nothing back until the cursor enters again.
    Move(cursor_);
    EXPECT_FALSE(tip_.IsTimerRunning(TipTimer::Initial));
}

TEST_F(TooltipWindow, WindowIsTheMeasuredTextWithItsMarginsAndBorder)
{
    ShowTipAt(cursor_);
    const QtFontMetrics metrics(QToolTip::font());
    const Measurement measured
        = MeasureMarkup(ParseMarkup(kEncryptTip, ColourTable(SystemColours {}), metrics.NormalWeight()), metrics);
    EXPECT_GT(measured.width, 0);
    EXPECT_EQ(tip_.size(),
        QSize(measured.width + 2 * (kTipBorder + kTipMarginX), measured.height + 2 * (kTipBorder + kTipMarginY)));
}

TEST_F(TooltipWindow, ShownTipIsDrawnInTheColoursSet)
{
    ShowTipAt(cursor_);
    const QImage shown = Grab();
    EXPECT_EQ(shown.pixelColor(kTipBorder, kTipBorder), ToQColor(kShadeTop));
    EXPECT_EQ(shown.pixelColor(kTipBorder, shown.height() - 1 - kTipBorder), ToQColor(kShadeBottom));

    tip_.SetColor(26, 0x0000FF);
    tip_.SetColor(-1, 0x0000FF);
    EXPECT_EQ(Grab(), shown);

    tip_.SetColor(18, 0x0000FF);
    EXPECT_EQ(Grab().pixelColor(kTipBorder, kTipBorder), QColor(0xFF, 0x00, 0x00));
}

TEST_F(TooltipWindow, CursorMovingDuringTheDelayPutsTheTipOff)
{
    Enter(cursor_);
    Move(cursor_ + QPoint(5, 0));
    tip_.ElapseTimer(TipTimer::Initial);
    EXPECT_FALSE(tip_.IsTipShown());
    EXPECT_TRUE(tip_.IsTimerRunning(TipTimer::Initial));

    tip_.ElapseTimer(TipTimer::Initial);
    EXPECT_TRUE(tip_.IsTipShown());
    EXPECT_EQ(tip_.pos(), cursor_ + QPoint(5, kCursorClearance));
}

TEST_F(TooltipWindow, LeavingTheToolHidesTheTip)
{
    ShowTipAt(cursor_);
    Leave();
    EXPECT_FALSE(tip_.IsTipShown());
    EXPECT_EQ(tip_.CurrentTool(), nullptr);
    EXPECT_FALSE(tip_.IsTimerRunning(TipTimer::AutoHide));
}

TEST_F(TooltipWindow, ToolThatGoesAwayTakesItsTipWithIt)
{
    ShowTipAt(cursor_);
    delete button_;
    button_ = nullptr;
    EXPECT_FALSE(tip_.IsTipShown());
    EXPECT_EQ(tip_.CurrentTool(), nullptr);
}

TEST_F(TooltipWindow, RelayedEventsDriveTheTipToo)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(cursor_), QPointF(cursor_));
    tip_.RelayEvent(button_, &enter);
    EXPECT_TRUE(tip_.IsTimerRunning(TipTimer::Initial));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    tip_.RelayEvent(&window_, &key);
    EXPECT_FALSE(tip_.IsTimerRunning(TipTimer::Initial));
    tip_.RelayEvent(button_, nullptr);
}

struct PressCase
{
    const char* name;
    QEvent::Type type;
    Qt::KeyboardModifiers modifiers;
};

std::unique_ptr<QEvent> MakePress(const PressCase& press)
{
    if (press.type == QEvent::KeyPress) {
        return std::make_unique<QKeyEvent>(press.type, Qt::Key_F, press.modifiers);
    }
    return std::make_unique<QMouseEvent>(
        press.type, QPointF(3, 3), QPointF(53, 53), Qt::LeftButton, Qt::LeftButton, press.modifiers);
}

class TooltipPress : public TooltipWindow, public testing::WithParamInterface<PressCase>
{
};

TEST_P(TooltipPress, HidesTheShownTipAnywhere)
{
    ShowTipAt(cursor_);
    Send(&window_, *MakePress(GetParam()));
    EXPECT_FALSE(tip_.IsTipShown());
    EXPECT_FALSE(tip_.IsTimerRunning(TipTimer::AutoHide));
}

TEST_P(TooltipPress, KeepsAWaitingTipFromShowing)
{
    Enter(cursor_);
    Send(button_, *MakePress(GetParam()));
    EXPECT_FALSE(tip_.IsTimerRunning(TipTimer::Initial));
    tip_.ElapseTimer(TipTimer::Initial);
    EXPECT_FALSE(tip_.IsTipShown());
}

INSTANTIATE_TEST_SUITE_P(Input, TooltipPress,
    testing::Values(PressCase {"Key", QEvent::KeyPress, Qt::NoModifier},
        PressCase {"SystemKey", QEvent::KeyPress, Qt::AltModifier},
        PressCase {"ButtonPress", QEvent::MouseButtonPress, Qt::NoModifier},
        PressCase {"DoubleClick", QEvent::MouseButtonDblClick, Qt::NoModifier},
        PressCase {"FramePress", QEvent::NonClientAreaMouseButtonPress, Qt::NoModifier},
        PressCase {"FrameDoubleClick", QEvent::NonClientAreaMouseButtonDblClick, Qt::NoModifier}),
    [](const testing::TestParamInfo<PressCase>& info) { return info.param.name; });

// Writes the picture of the encryption button's tip for the documentation; run it on its own with
// --gtest_also_run_disabled_tests --gtest_filter='*TooltipScreenshot*'.
TEST(TooltipScreenshot, DISABLED_EncryptionTip)
{
    QFont font("IPAGothic");
    font.setPointSize(10);
    const QImage image = RenderTip(kEncryptTip, MainWindowLook(), font, 2.0);
    ASSERT_TRUE(QDir().mkpath(WARDEN_SCREENSHOT_FOLDER));
    EXPECT_TRUE(image.save(QStringLiteral(WARDEN_SCREENSHOT_FOLDER "/tooltip-encrypt.png")));
}

} // namespace
