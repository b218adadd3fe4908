#include "skin/FlatPopupMenu.h"
#include "skin/FlatMenuWindow.h"

#include <QApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class FlatPopupMenuTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_menu.Create());
        m_menu.AppendItem(0, "&Open", 10);
        m_menu.AppendItem(PopupMenuModel::kSeparator, "", 0);
        m_menu.AppendItem(PopupMenuModel::kDisabled, "&Delete", 11);
        m_menu.AppendItem(0, "logファイル(&L)\tCtrl+L", 12);
    }

    CFlatPopupMenu m_menu;
};

TEST_F(FlatPopupMenuTest, WindowCarriesTheMenuClassAndFitsTheWorkArea)
{
    QRect area = QApplication::primaryScreen()->availableGeometry();
    m_menu.Track(area.right() - 5, area.bottom() - 5, nullptr, false);
    fpmMenuClass* window = m_menu.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(window->metaObject()->className(), "fpmMenuClass");
    EXPECT_TRUE(area.contains(window->geometry())) << window->geometry().x() << "," << window->geometry().y();
    EXPECT_EQ(window->height(), 3 + 17 * 3 + 5 + 2);
    m_menu.Close();
}

TEST_F(FlatPopupMenuTest, TypedAcceleratorChoosesAndClosesUnknownKeysDoNot)
{
    m_menu.Track(20, 20, nullptr, false);
    fpmMenuClass* window = m_menu.Window();
    ASSERT_NE(window, nullptr);
    QTest::keyClick(window, Qt::Key_Z);
    EXPECT_NE(m_menu.Window(), nullptr);
    QTest::keyClick(window, Qt::Key_D); // disabled item: skipped
    EXPECT_NE(m_menu.Window(), nullptr);
    QTest::keyClick(window, Qt::Key_L);
    EXPECT_EQ(m_menu.Window(), nullptr);
    EXPECT_EQ(m_menu.Result(), 12u);
}

TEST_F(FlatPopupMenuTest, PopupWithSeparatorFlagIsRefused)
{
    CFlatPopupMenu sub;
    sub.Create();
    sub.AppendItem(0, "&Inner", 20);
    EXPECT_FALSE(m_menu.AppendPopup(PopupMenuModel::kSeparator, "More", sub));
    EXPECT_EQ(m_menu.Model().Items().size(), 4u);
    EXPECT_TRUE(m_menu.AppendPopup(0, "&More", sub));
    EXPECT_EQ(sub.ParentMenu(), &m_menu);
}

TEST_F(FlatPopupMenuTest, ItemTextsCanBeReadAndChanged)
{
    char buffer[8];
    EXPECT_EQ(m_menu.GetString(10, buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "&Open");
    EXPECT_TRUE(m_menu.SetMenuItemText(0, "&Start here", true));
    EXPECT_EQ(m_menu.GetString(10, buffer, sizeof buffer), 11);
    EXPECT_STREQ(buffer, "&Start "); // cut to the buffer, terminated
    EXPECT_EQ(m_menu.GetString(99, buffer, sizeof buffer), -1);
}

} // namespace
