#include "skin/SkinDlg.h"
#include "MessageService.h"
#include "skin/SkinCombo.h"
#include "skin/SkinEdit.h"
#include "skin/SkinItemIds.h"
#include "skin/SkinPictures.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// The data folder holds skin/default, as an installation folder does.
const std::string kAppPath = CLASSLIB_DATA_DIR;

class RecordingDialog : public CSkinDlg
{
public:
    RecordingDialog()
    {
        (new CSkinEdit(this))->setObjectName(kIdEditName);
        (new CSkinCombo(this))->setObjectName(kWordComboName);
        (new CSkinEdit(this))->setObjectName(kPasswordEditName);
    }
    void PressButtonName(const std::string& name) override { names.push_back(name); }
    void PressButtonID(int id) override { ids.push_back(id); }
    void ProgressChanged(const std::string& name) override { sliders.push_back(name); }

    std::vector<std::string> names;
    std::vector<int> ids;
    std::vector<std::string> sliders;
};

class CapturedMessages : public CMessageService
{
public:
    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon) noexcept override
    {
        messages.emplace_back(caption, text);
    }
    std::vector<std::pair<std::string, std::string>> messages;
};

class SkinDlgTest : public testing::Test
{
protected:
    void SetUp() override
    {
        CMessageService::Install(&m_messages);
        m_dialog.SetSkinFile("default", "Marlow", kAppPath);
        m_dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
    }
    void TearDown() override { CMessageService::Install(nullptr); }

    QWidget* Child(const std::string& name) { return m_dialog.findChild<QWidget*>(QString::fromStdString(name)); }
    static QRect ToQRect(const SkinRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

    CapturedMessages m_messages;
    RecordingDialog m_dialog;
};

TEST_F(SkinDlgTest, WindowHasTheShapeAndSizeOfTheMask)
{
    EXPECT_TRUE(m_messages.messages.empty());
    QImage mask(QString::fromStdString(m_dialog.GetSkin().maskPicture));
    ASSERT_FALSE(mask.isNull());
    EXPECT_EQ(m_dialog.size(), mask.size());
    EXPECT_EQ(m_dialog.mask(), SkinPictures::RegionOfMask(mask));
    // The default skin has rounded corners: the corner pixel is cut, the centre is not.
    EXPECT_FALSE(m_dialog.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(m_dialog.mask().contains(QPoint(mask.width() / 2, mask.height() / 2)));
}

TEST_F(SkinDlgTest, EveryControlSitsAtItsRectangle)
{
    const SkinModel& skin = m_dialog.GetSkin();
    ASSERT_EQ(skin.buttons.size(), 3u);
    ASSERT_GE(skin.labels.size(), 8u);
    ASSERT_EQ(skin.sliders.size(), 2u);
    for (const SkinButtonDef& def : skin.buttons) {
        QWidget* button = Child(def.name);
        ASSERT_NE(button, nullptr) << def.name;
        EXPECT_EQ(button->geometry(), ToQRect(def.rect)) << def.name;
        EXPECT_NE(def.id, 0) << def.name;
    }
    for (const SkinLabelDef& def : skin.labels) {
        ASSERT_NE(Child(def.name), nullptr) << def.name;
        EXPECT_EQ(Child(def.name)->geometry(), ToQRect(def.rect)) << def.name;
    }
    for (const SkinSliderDef& def : skin.sliders)
        EXPECT_EQ(Child(def.name)->geometry(), ToQRect(def.rect)) << def.name;
    EXPECT_EQ(Child("3001")->geometry(), ToQRect(skin.editId.rect));
    EXPECT_EQ(Child("3002")->geometry(), ToQRect(skin.comboWord.rect));
    EXPECT_EQ(Child("3003")->geometry(), ToQRect(skin.comboWord.rect));
    EXPECT_FALSE(skin.wave.rect.IsEmpty());
}

TEST_F(SkinDlgTest, ButtonClickReachesPressButtonIdWithItsId)
{
    QTest::mouseClick(Child("BUTTON_RECORD"), Qt::LeftButton);
    EXPECT_EQ(m_dialog.ids, (std::vector<int> {talk::skin_item_ids::kButtonRecord}));
    EXPECT_EQ(m_dialog.names, (std::vector<std::string> {"BUTTON_RECORD"}));
    m_dialog.SetEnable("BUTTON_RECORD", 0);
    EXPECT_EQ(m_dialog.IsEnabled(talk::skin_item_ids::kButtonRecord), 0);
    QTest::mouseClick(Child("BUTTON_RECORD"), Qt::LeftButton);
    EXPECT_EQ(m_dialog.ids.size(), 1u);
    EXPECT_EQ(m_dialog.IsEnabled(12345), 0);
}

TEST_F(SkinDlgTest, ReleaseOutsideTheButtonIsNoPress)
{
    QWidget* exit = Child("BUTTON_EXIT");
    QTest::mousePress(exit, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(exit, Qt::LeftButton, {}, QPoint(-20, 5));
    EXPECT_TRUE(m_dialog.ids.empty());
}

TEST_F(SkinDlgTest, SliderReleaseReachesProgressChanged)
{
    QWidget* speaker = Child("SPEAKER");
    QPoint quarter(speaker->width() / 4, speaker->height() / 2);
    QTest::mousePress(speaker, Qt::LeftButton, {}, quarter);
    QTest::mouseRelease(speaker, Qt::LeftButton, {}, quarter);
    EXPECT_EQ(m_dialog.sliders, (std::vector<std::string> {"SPEAKER"}));
    EXPECT_EQ(m_dialog.GetProgressPos("SPEAKER"), quarter.x() * 100 / speaker->width());
    QTest::mousePress(speaker, Qt::LeftButton, {}, quarter);
    QTest::mouseRelease(speaker, Qt::LeftButton, {}, QPoint(quarter.x(), -30));
    EXPECT_EQ(m_dialog.sliders.size(), 1u);
}

TEST_F(SkinDlgTest, ProgramSliderPositionIsCapped)
{
    m_dialog.SetProgressPos("MIC", 150);
    EXPECT_EQ(m_dialog.GetProgressPos("MIC"), 100);
    EXPECT_EQ(m_dialog.GetProgressPos("NOSUCH"), 0);
}

TEST_F(SkinDlgTest, LabelTextsAndUnknownNames)
{
    m_dialog.SetText("LABEL_HINT", "録音ボタンを押してください。録音ボタンを押してください。");
    EXPECT_EQ(m_dialog.GetText("LABEL_HINT"), "録音ボタンを押してください。録音ボタンを押してください。");
    EXPECT_EQ(m_dialog.GetText("NOSUCH"), "");
    m_dialog.SetVisible("LABEL_ID", 0);
    EXPECT_FALSE(Child("LABEL_ID")->isVisible());
    m_dialog.SetButtonCheck("BUTTON_EXIT", 1);
    EXPECT_EQ(m_dialog.GetButtonCheck("BUTTON_EXIT"), 1);
}

TEST_F(SkinDlgTest, WaveAreaIsClearedToItsBackground)
{
    m_dialog.DrawWaveRect(1);
    const SkinWaveDef& wave = m_dialog.GetSkin().wave;
    // Away from the frame and the grid lines.
    QPoint inside(wave.rect.left + 7, wave.rect.top + 7);
    QImage shot = m_dialog.grab().toImage();
    EXPECT_EQ(shot.pixelColor(inside), QColor(wave.background.r, wave.background.g, wave.background.b));
    m_dialog.DrawOnWave([&](QPainter& painter) { painter.fillRect(QRect(inside, QSize(2, 2)), Qt::red); });
    EXPECT_EQ(m_dialog.grab().toImage().pixelColor(inside), QColor(Qt::red));
}

TEST(SkinDlgLoadFailureTest, MissingSkinIsReportedAndTheDialogClosesItself)
{
    CapturedMessages messages;
    CMessageService::Install(&messages);
    RecordingDialog dialog;
    dialog.SetSkinFile("nosuchskin", "Marlow", kAppPath);
    dialog.show();
    QTest::qWait(20);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].first, "Marlow");
    EXPECT_EQ(messages.messages[0].second, "NOSUCHSKIN Skin load failure!");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    CMessageService::Install(nullptr);
}

} // namespace
