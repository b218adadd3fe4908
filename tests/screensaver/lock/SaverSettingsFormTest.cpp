#include "lock/SaverSettingsForm.h"

#include "settings/RegistryText.h"

#include "Setup/SetupFile.h"

#include "FreshRootTest.h"

#include <filesystem>
#include <fstream>

namespace screenveil {
namespace {

namespace registry_text = deskwarden::settings::registry_text;

class SaverSettingsFormTest : public warden::test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        m_app = Path("program");
        std::filesystem::create_directories(m_app);
        std::filesystem::create_directories(Path("system"));
        std::filesystem::create_directories(Path("windows"));
        ASSERT_EQ(m_setup.SetAppPath(m_app), 1);
        ASSERT_EQ(m_setup.Initialize(), 1);
        m_system = SaverSystem {true, Path("system"), Path("windows")};
    }

    std::optional<std::string> Desktop(const char* value) const
    {
        return registry_text::Read(platform::HKEY_CURRENT_USER, "Control Panel\\Desktop", value);
    }

    std::string m_app;
    CSetupFile m_setup;
    SaverSystem m_system;
};

TEST_F(SaverSettingsFormTest, WithoutASystemTimeOutTheWaitingTimeIsZeroAndRefused)
{
    SaverSettingsForm form;
    form.Load(m_setup);
    EXPECT_EQ(form.waitingMinutes, 0);
    form.intervalSeconds = 5;
    const std::optional<FormRefusal> refusal = form.Validate();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->controlId, SaverSettingsForm::kWaitingField);
    EXPECT_EQ(refusal->text, "1 から 60 までの整数を入力してください。");
    form.waitingMinutes = 60;
    EXPECT_FALSE(form.Validate());
}

TEST_F(SaverSettingsFormTest, TheIntervalIsCheckedFirstAndKeptBetweenFiveAndThirty)
{
    SaverSettingsForm form;
    form.waitingMinutes = 0;
    for (int seconds : {4, 31}) {
        form.intervalSeconds = seconds;
        ASSERT_TRUE(form.Validate());
        EXPECT_EQ(form.Validate()->controlId, SaverSettingsForm::kIntervalField);
    }
    form.intervalSeconds = 30;
    form.waitingMinutes = 61;
    EXPECT_EQ(form.Validate()->controlId, SaverSettingsForm::kWaitingField);
}

TEST_F(SaverSettingsFormTest, APictureListedInAnotherLetterCaseIsNotAddedAgain)
{
    SaverSettingsForm form;
    EXPECT_EQ(form.AddPictures({"/p/Sea.jpg", "/p/hill.bmp"}), 2);
    EXPECT_EQ(form.AddPictures({"/p/SEA.JPG", "/p/new.jpg", "/p/new.jpg"}), 1);
    EXPECT_EQ(form.pictures, (std::vector<std::string> {"/p/Sea.jpg", "/p/hill.bmp", "/p/new.jpg"}));
}

TEST_F(SaverSettingsFormTest, RemovesTheSelectedRowsOrElseTheFocusedOne)
{
    SaverSettingsForm form;
    form.pictures = {"a", "b", "c", "d"};
    form.RemovePictures({0, 2}, 3);
    EXPECT_EQ(form.pictures, (std::vector<std::string> {"b", "d"}));
    form.RemovePictures({}, 1);
    EXPECT_EQ(form.pictures, (std::vector<std::string> {"b"}));
    form.RemovePictures({}, -1);
    EXPECT_EQ(form.pictures.size(), 1u);
}

TEST_F(SaverSettingsFormTest, SaveWritesEverythingAndALoadReadsItBack)
{
    const std::string picture = m_app + "/one.bmp";
    std::ofstream(picture) << "x";
    SaverSettingsForm form;
    form.pictures = {picture};
    form.intervalSeconds = 7;
    form.waitingMinutes = 3;
    form.autoStart = true;
    form.display.fullSize = true;
    form.display.memo = Rgb {1, 2, 3};
    form.comment = "Away";
    ASSERT_TRUE(form.Save(m_setup, m_system));
    EXPECT_EQ(Desktop("ScreenSaveTimeOut"), std::optional<std::string>("180"));
    EXPECT_EQ(Desktop("ScreenSaveActive"), std::optional<std::string>("1"));
    EXPECT_TRUE(Desktop("SCRNSAVE.EXE"));
    EXPECT_EQ(registry_text::Read(platform::HKEY_USERS, ".DEFAULT\\Control Panel\\desktop", "ScreenSaveTimeOut"),
        std::optional<std::string>("180"));
    EXPECT_EQ(m_setup.GetScrAuto(), 1);

    SaverSettingsForm loaded;
    loaded.Load(m_setup);
    EXPECT_EQ(loaded.pictures, form.pictures);
    EXPECT_EQ(loaded.intervalSeconds, 7);
    EXPECT_EQ(loaded.waitingMinutes, 3);
    EXPECT_TRUE(loaded.autoStart);
    EXPECT_TRUE(loaded.display.fullSize);
    EXPECT_EQ(loaded.display.memo, (Rgb {1, 2, 3}));
    EXPECT_EQ(loaded.comment, "Away");
}

TEST_F(SaverSettingsFormTest, TurningAutomaticStartOffRemovesTheSaverValue)
{
    SaverSettingsForm form;
    form.intervalSeconds = 5;
    form.waitingMinutes = 1;
    form.autoStart = true;
    ASSERT_TRUE(form.Save(m_setup, m_system));
    form.autoStart = false;
    ASSERT_TRUE(form.Save(m_setup, m_system));
    EXPECT_FALSE(Desktop("SCRNSAVE.EXE"));
    EXPECT_EQ(Desktop("ScreenSaveActive"), std::optional<std::string>("0"));
    EXPECT_EQ(m_setup.GetScrAuto(), 0);
}

} // namespace
} // namespace screenveil
