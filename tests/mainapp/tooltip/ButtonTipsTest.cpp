#include "tooltip/MarkupLayout.h"

#include "TooltipTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace deskwarden::test {
namespace {

struct ButtonTip
{
    const char* title;
    const char* text;
};

// The main window's five button tips (strings 103 to 107): a bold red centred title, a green rule, a text.
std::string TipMarkup(const ButtonTip& tip)
{
    return std::string("<b><ct=0x0000FF><al_c>") + tip.title + "</b><br><ct=0x00AA00><hr=100%></ct><br>" + tip.text;
}

class ButtonTips : public testing::TestWithParam<ButtonTip>
{
protected:
    FixedWidthMetrics metrics_;
};

TEST_P(ButtonTips, ParseIntoTitleRuleAndText)
{
    const auto items = Parse(TipMarkup(GetParam()));
    ASSERT_EQ(items.size(), 6U);
    const auto& title = std::get<TextRun>(items[1]);
    EXPECT_EQ(items[0], MarkupItem {AlignLine {Alignment::Centre}});
    EXPECT_EQ(title.text, GetParam().title);
    EXPECT_EQ(title.style.weight, 800);
    EXPECT_EQ(ToRgb(title.style.textColour), (Rgb {255, 0, 0}));
    EXPECT_EQ(items[3], MarkupItem {Rule(100, 0x00AA00)});
    const auto& text = std::get<TextRun>(items[5]);
    EXPECT_EQ(text.text, GetParam().text);
    EXPECT_EQ(text.style.weight, kNormalWeight);
    EXPECT_EQ(text.style.textColour, kTestSystemColours.tipText);
}

TEST_P(ButtonTips, LayOutWithTheTitleCentredOverAFullWidthRule)
{
    const TipLayout layout = LayOutMarkup(Parse(TipMarkup(GetParam())), metrics_);
    ASSERT_EQ(layout.texts.size(), 2U);
    ASSERT_EQ(layout.rules.size(), 1U);
    const PlacedText& title = layout.texts[0];
    const PlacedText& text = layout.texts[1];
    EXPECT_EQ(layout.width, std::max(title.width, text.width));
    EXPECT_EQ(title.x, (layout.width - title.width) / 2);
    EXPECT_EQ(title.y, 0);
    EXPECT_EQ(layout.rules[0].x, 0);
    EXPECT_EQ(layout.rules[0].width, layout.width);
    EXPECT_EQ(layout.rules[0].y, 18 + 8);
    EXPECT_EQ(text.x, 0);
    EXPECT_EQ(text.y, 18 + 16);
    EXPECT_EQ(layout.height, 18 + 16 + 16);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, ButtonTips,
    testing::Values(ButtonTip {"ファイル暗号化", "自分の音声を使用してファイルを暗号化することができます。"},
        ButtonTip {"ファイル復号化", "自分の音声を使用してファイルを復号化することができます。"},
        ButtonTip {"画面ロック", "他のユーザーがコンピューターを使えないようにコンピューター画面をロックします。"},
        ButtonTip {"環境設定", "プログラムの環境設定及びユーザー管理することができます。"},
        ButtonTip {"プログラム終了", "プログラムを終了します。"}));

} // namespace
} // namespace deskwarden::test
