#include "skin/SkinIniReader.h"
#include "IniFile.h"
#include "skin/SkinItemIds.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class SkinIniReaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path()
            / ("skin-ini-" + std::to_string(::getpid()) + "-"
                + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    bool ReadSkin(const std::string& text)
    {
        std::string path = (m_folder / "skin.ini").string();
        std::ofstream(path) << text;
        CIniFile ini(path);
        IniSkinProfile profile(ini);
        return talk::skin_ini_reader::Read(profile, m_folder.string() + "/", m_model);
    }

    fs::path m_folder;
    SkinModel m_model;
};

TEST_F(SkinIniReaderTest, EmptyMainPictureMeansNoSkin)
{
    EXPECT_FALSE(ReadSkin("[SCREEN]\nMAIN=\nMASK=mask.png\n"));
    EXPECT_TRUE(m_model.mainPicture.empty());
}

TEST_F(SkinIniReaderTest, PicturesDefaultToTheMainPictureAndKeepTheMisspelledKey)
{
    ASSERT_TRUE(ReadSkin("[SCREEN]\nMAIN=normal.png\nOVER=over.png\nDISABLED=wrong.png\n"));
    std::string folder = m_folder.string() + "/";
    EXPECT_EQ(m_model.mainPicture, folder + "normal.png");
    EXPECT_EQ(m_model.maskPicture, folder + "normal.png");
    EXPECT_EQ(m_model.overPicture, folder + "over.png");
    EXPECT_EQ(m_model.downPicture, folder + "normal.png");
    // Only "DISALBED" names the disabled picture.
    EXPECT_EQ(m_model.disabledPicture, folder + "normal.png");
    ASSERT_TRUE(ReadSkin("[SCREEN]\nMAIN=normal.png\nDISALBED=sub\\grey.png\n"));
    EXPECT_EQ(m_model.disabledPicture, folder + "sub/grey.png");
}

TEST_F(SkinIniReaderTest, FlagsCompareTheExactUpperCaseWord)
{
    ASSERT_TRUE(ReadSkin("[SCREEN]\nMAIN=a.png\nHINT=true\nLABELTIP=TRUE\n[WAVE]\nDOTLINE=false\nDRAW=True\n"));
    EXPECT_FALSE(m_model.hint);
    EXPECT_TRUE(m_model.labelTip);
    EXPECT_TRUE(m_model.wave.dottedGrid);
    EXPECT_FALSE(m_model.wave.fill);
    ASSERT_TRUE(ReadSkin("[SCREEN]\nMAIN=a.png\n[WAVE]\nDOTLINE=FALSE\n"));
    EXPECT_TRUE(m_model.hint);
    EXPECT_FALSE(m_model.labelTip);
    EXPECT_FALSE(m_model.wave.dottedGrid);
    EXPECT_TRUE(m_model.wave.fill);
}

TEST_F(SkinIniReaderTest, WaveDefaults)
{
    ASSERT_TRUE(ReadSkin("[SCREEN]\nMAIN=a.png\n"));
    EXPECT_TRUE(m_model.wave.rect.IsEmpty());
    EXPECT_EQ(m_model.wave.background, (SkinColor {0, 0, 0}));
    EXPECT_EQ(m_model.wave.line, (SkinColor {0, 255, 0}));
    EXPECT_EQ(m_model.wave.frame, (SkinColor {255, 255, 255}));
    EXPECT_EQ(m_model.wave.frameWidth, 1);
    ASSERT_TRUE(ReadSkin("[SCREEN]\nMAIN=a.png\n[WAVE]\nRECT=10,20,300,80\nLINE=1,2,3\nWIDTH=2\n"));
    EXPECT_EQ(m_model.wave.rect, (SkinRect {10, 20, 310, 100}));
    EXPECT_EQ(m_model.wave.line, (SkinColor {1, 2, 3}));
    EXPECT_EQ(m_model.wave.frameWidth, 2);
}

TEST_F(SkinIniReaderTest, NumberedKeysAreReadUpToTheKeyCount)
{
    ASSERT_TRUE(ReadSkin("[SCREEN]\nMAIN=a.png\n[BUTTON]\n1=BUTTON_RECORD,1,2,3,4,Record,F\n"
                         "2=BUTTON_EXIT,5,6,7,8,Exit,TRUE\n4=BUTTON_FLOPPY,9,9,9,9,Key,F\n"));
    // Three keys: "1", "2" and "3" are read; "3" is missing and "4" is never reached.
    ASSERT_EQ(m_model.buttons.size(), 2u);
    EXPECT_EQ(m_model.buttons[0].name, "BUTTON_RECORD");
    EXPECT_EQ(m_model.buttons[0].id, talk::skin_item_ids::kButtonRecord);
    EXPECT_EQ(m_model.buttons[0].rect, (SkinRect {1, 2, 4, 6}));
    EXPECT_EQ(m_model.buttons[0].tooltip, "Record");
    EXPECT_FALSE(m_model.buttons[0].toggle);
    EXPECT_EQ(m_model.buttons[1].id, talk::skin_item_ids::kButtonExit);
    EXPECT_TRUE(m_model.buttons[1].toggle);
}

TEST_F(SkinIniReaderTest, EmptyNumberedValueIsSkipped)
{
    ASSERT_TRUE(ReadSkin("[SCREEN]\nMAIN=a.png\n[BUTTON]\n1=\n2=UNKNOWN,0,0,1,1,,\n"));
    ASSERT_EQ(m_model.buttons.size(), 1u);
    EXPECT_EQ(m_model.buttons[0].id, 0);
}

TEST_F(SkinIniReaderTest, LabelFieldsWithInvertedItalic)
{
    ASSERT_TRUE(ReadSkin("[SCREEN]\nMAIN=a.png\n"
                         "LABEL_ID=Face,FALSE,TRUE,14,1,2,3,10,20,30,40,id text,id tip\n"
                         "LABEL_WORD=Face,TRUE,FALSE,-12,0,0,0,1,1,1,1,,\n"
                         "[LABEL]\n1=LABEL_HINT,ＭＳ Ｐゴシック,T,F,12,255,255,255,5,6,200,16,hint,tip\n"));
    ASSERT_EQ(m_model.labels.size(), 3u);
    const SkinLabelDef& hint = m_model.labels[0];
    EXPECT_EQ(hint.name, "LABEL_HINT");
    EXPECT_EQ(hint.id, talk::skin_item_ids::kLabelHint);
    EXPECT_EQ(hint.face, "ＭＳ Ｐゴシック");
    EXPECT_TRUE(hint.bold);
    EXPECT_TRUE(hint.italic);
    EXPECT_EQ(hint.fontHeight, 12);
    EXPECT_EQ(hint.color, (SkinColor {255, 255, 255}));
    EXPECT_EQ(hint.rect, (SkinRect {5, 6, 205, 22}));
    EXPECT_EQ(hint.text, "hint");
    EXPECT_EQ(hint.tooltip, "tip");
    // Section labels come first, then LABEL_ID and LABEL_WORD.
    EXPECT_EQ(m_model.labels[1].name, "LABEL_ID");
    EXPECT_FALSE(m_model.labels[1].bold);
    EXPECT_FALSE(m_model.labels[1].italic);
    EXPECT_EQ(m_model.labels[1].text, "id text");
    EXPECT_EQ(m_model.labels[2].name, "LABEL_WORD");
    EXPECT_TRUE(m_model.labels[2].bold);
    EXPECT_TRUE(m_model.labels[2].italic);
}

TEST_F(SkinIniReaderTest, EntryPlacesAndSliders)
{
    ASSERT_TRUE(ReadSkin("[SCREEN]\nMAIN=a.png\nEDIT_ID=1,2,3,4,Your ID\nCOMBO_WORD=5,6,7,8,Word\n"
                         "[PROGRESSINFO]\n1=SPEAKER,Volume,10,10,100,8,Horizontal\n2=MIC,Mic,0,0,8,100,V\n"));
    EXPECT_TRUE(m_model.editId.present);
    EXPECT_EQ(m_model.editId.rect, (SkinRect {1, 2, 4, 6}));
    EXPECT_EQ(m_model.editId.tooltip, "Your ID");
    EXPECT_EQ(m_model.comboWord.tooltip, "Word");
    ASSERT_EQ(m_model.sliders.size(), 2u);
    EXPECT_EQ(m_model.sliders[0].name, "SPEAKER");
    EXPECT_EQ(m_model.sliders[0].index, 0);
    EXPECT_TRUE(m_model.sliders[0].horizontal);
    EXPECT_EQ(m_model.sliders[1].index, 1);
    EXPECT_FALSE(m_model.sliders[1].horizontal);
}

} // namespace
