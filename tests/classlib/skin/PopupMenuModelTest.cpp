#include "skin/PopupMenuModel.h"

#include <gtest/gtest.h>

namespace {

class PopupMenuModelTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_model.AppendItem(0, "&Open", 100, 0);
        m_model.AppendItem(PopupMenuModel::kSeparator, "", 0, -1);
        m_model.AppendItem(PopupMenuModel::kBold, "&Bold item", 101, -1);
        m_model.AppendItem(PopupMenuModel::kDisabled, "&Disabled", 102, -1);
        m_model.AppendItem(PopupMenuModel::kInactive, "&Title", 103, -1);
        m_model.AppendItem(0, "logファイル(&L)\tCtrl+L", 104, -1);
    }

    // Ten pixels per byte, twice as wide in bold, so the bold item decides the width.
    static int Measure(const std::string& text, bool bold) { return static_cast<int>(text.size()) * (bold ? 20 : 10); }

    PopupMenuModel m_model;
};

TEST_F(PopupMenuModelTest, LayoutStacksItemsFromTheTopMargin)
{
    SkinPoint size = m_model.Layout(Measure);
    const auto& items = m_model.Items();
    EXPECT_EQ(items[0].top, 3);
    EXPECT_EQ(items[0].height, 17);
    EXPECT_EQ(items[1].top, 20);
    EXPECT_EQ(items[1].height, 5);
    EXPECT_EQ(items[2].top, 25);
    EXPECT_EQ(size.y, 3 + 17 * 5 + 5 + 2);
    // Widest: "logファイル(L)    Ctrl+L" (28 bytes, the tab shown as four blanks) beats "Bold item" (9 bytes, bold).
    EXPECT_EQ(size.x, 28 * 10 + 42);
}

TEST_F(PopupMenuModelTest, PopupWithSeparatorFlagIsRefused)
{
    int sub = 0;
    size_t before = m_model.Items().size();
    EXPECT_FALSE(m_model.AppendPopup(PopupMenuModel::kSeparator, "More", &sub, -1));
    EXPECT_EQ(m_model.Items().size(), before);
    EXPECT_TRUE(m_model.AppendPopup(0, "More", &sub, -1));
    EXPECT_EQ(m_model.Items().size(), before + 1);
}

struct PlaceCase
{
    int x, y;
    int expectX, expectY;
};

class PopupMenuPlaceTest : public testing::TestWithParam<PlaceCase>
{
};

TEST_P(PopupMenuPlaceTest, StaysInsideTheWorkArea)
{
    const PlaceCase& c = GetParam();
    SkinPoint at = PopupMenuModel::Place(c.x, c.y, {100, 200}, {0, 0, 1024, 738});
    EXPECT_EQ(at, (SkinPoint {c.expectX, c.expectY}));
}

INSTANTIATE_TEST_SUITE_P(Corners, PopupMenuPlaceTest,
    testing::Values(PlaceCase {10, 10, 10, 10}, PlaceCase {1000, 10, 924, 10}, PlaceCase {10, 700, 10, 538},
        PlaceCase {1020, 730, 924, 538}, PlaceCase {-50, -20, 0, 0}));

TEST(PopupMenuPlaceSmallScreenTest, NeverGoesNegative)
{
    EXPECT_EQ(PopupMenuModel::Place(10, 10, {500, 500}, {0, 0, 300, 300}), (SkinPoint {0, 0}));
}

TEST_F(PopupMenuModelTest, HitTestSkipsMarginAndInactiveItems)
{
    SkinPoint size = m_model.Layout(Measure);
    EXPECT_EQ(m_model.HitTest(50, 1, size.x), -1); // top margin
    EXPECT_EQ(m_model.HitTest(1, 10, size.x), -1); // left margin
    EXPECT_EQ(m_model.HitTest(50, 10, size.x), 0);
    EXPECT_EQ(m_model.HitTest(50, 22, size.x), 1); // separators are hit (and never chosen)
    int titleTop = m_model.Items()[4].top;
    EXPECT_EQ(m_model.HitTest(50, titleTop + 2, size.x), -1);
    EXPECT_EQ(m_model.HitTest(50, size.y + 10, size.x), -1);
}

TEST_F(PopupMenuModelTest, TypedCharacterChoosesByAccelerator)
{
    EXPECT_EQ(m_model.ItemForKey(U'o'), 0);
    EXPECT_EQ(m_model.ItemForKey(U'O'), 0);
    EXPECT_EQ(m_model.ItemForKey(U'b'), 2);
    EXPECT_EQ(m_model.ItemForKey(U'l'), 5);
    EXPECT_EQ(m_model.ItemForKey(U'd'), -1); // disabled
    EXPECT_EQ(m_model.ItemForKey(U't'), -1); // inactive
    EXPECT_EQ(m_model.ItemForKey(U'z'), -1); // nobody's: the menu stays open
}

TEST(PopupMenuModelTextTest, DoubledAmpersandIsNoAccelerator)
{
    PopupMenuModel model;
    model.AppendItem(0, "Salt && &Pepper", 1, -1);
    EXPECT_EQ(model.ItemForKey(U'p'), 0);
    EXPECT_EQ(model.ItemForKey(U' '), -1);
    EXPECT_EQ(PopupMenuModel::VisibleText("Salt && &Pepper"), "Salt & Pepper");
}

TEST_F(PopupMenuModelTest, FindByIdOrPosition)
{
    EXPECT_EQ(m_model.Find(104, false), 5);
    EXPECT_EQ(m_model.Find(5, true), 5);
    EXPECT_EQ(m_model.Find(99, true), -1);
    EXPECT_EQ(m_model.Find(999, false), -1);
}

} // namespace
