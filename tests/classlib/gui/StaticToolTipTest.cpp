#include "skin/StaticToolTip.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(StaticToolTipTest, EmptyTextStaysHiddenAndTextFollowsTheOwner)
{
    QWidget owner;
    owner.setGeometry(100, 100, 200, 100);
    owner.show();
    CStaticToolTip tip;
    tip.Attach(&owner, 0, 100);
    EXPECT_TRUE(tip.IsAttached());
    EXPECT_FALSE(tip.isVisible());
    tip.SetText("録音ボタンを押してください。");
    EXPECT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.size(), QSize(390, 30));
    EXPECT_EQ(tip.pos(), owner.mapToGlobal(QPoint(0, 100)));
    tip.SetText("");
    EXPECT_FALSE(tip.isVisible());
}

TEST(StaticToolTipTest, AttachingAgainMovesToTheNewOwner)
{
    QWidget first;
    first.setGeometry(10, 10, 100, 50);
    first.show();
    QWidget second;
    second.setGeometry(300, 200, 100, 50);
    second.show();
    CStaticToolTip tip;
    tip.SetText("hint");
    tip.Attach(&first, 5, 50);
    EXPECT_EQ(tip.pos(), first.mapToGlobal(QPoint(5, 50)));
    tip.Attach(&second, 5, 50);
    EXPECT_EQ(tip.pos(), second.mapToGlobal(QPoint(5, 50)));
    tip.Detach();
    EXPECT_FALSE(tip.IsAttached());
    EXPECT_FALSE(tip.isVisible());
}

TEST(StaticToolTipTest, LineArithmetic)
{
    EXPECT_EQ(CStaticToolTip::GetNumberOfLines(""), 1);
    EXPECT_EQ(CStaticToolTip::GetNumberOfLines("a\nb\n"), 3);
    QFontMetrics metrics(QFont("IPAPGothic", 10));
    QSize extent = CStaticToolTip::GetMultiLineTextExtent(metrics, "ab\nabcd");
    EXPECT_EQ(extent.width(), metrics.horizontalAdvance("abcd"));
    EXPECT_EQ(extent.height(), 2 * metrics.height());
}

} // namespace
