#include "app/MainFileDlg.h"
#include "app/FileListView.h"
#include "app/HandOff.h"
#include "app/ImageButton.h"
#include "app/WindowPlacement.h"
#include "art/ArtNames.h"

#include "IniFile.h"

#include "../../support/FreshRootTest.h"

#include <QApplication>
#include <QMenu>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace deskwarden::test {
namespace {

using namespace deskwarden::app;

class MainWindow : public warden::test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        art::EnsureLoaded();
        for (const char* name : {"a.txt", "b.txt"})
            std::ofstream(Path(name)) << name;
    }

    std::unique_ptr<CMainFileDlg> Make(const std::string& pending = "")
    {
        auto window = std::make_unique<CMainFileDlg>(pending, DefaultProfilePath());
        QObject::connect(window.get(), &CMainFileDlg::EncryptionRequested, [this](bool) { ++m_encryptions; });
        QObject::connect(window.get(), &CMainFileDlg::SettingsRequested, [this] { ++m_settings; });
        return window;
    }

    static std::size_t Rows(const CMainFileDlg& window) { return window.FileList().List().Rows().size(); }

    int m_encryptions = 0;
    int m_settings = 0;
};

TEST_F(MainWindow, AHandOffWithoutPathsChangesNothing)
{
    auto window = Make(Path("a.txt"));
    ASSERT_EQ(Rows(*window), 1U) << "the file named on the command line is listed";
    window->ReceiveHandOff("0,ooo,0\n" + Path("b.txt") + "\n");
    EXPECT_EQ(Rows(*window), 1U);
    EXPECT_EQ(m_encryptions, 0);
}

TEST_F(MainWindow, CommandZeroWithTwoPathsListsBothAndStartsEncryption)
{
    auto window = Make();
    window->ReceiveHandOff(FormatHandOff({0, "ooo", {Path("a.txt"), Path("b.txt")}}));
    EXPECT_EQ(Rows(*window), 2U);
    EXPECT_EQ(window->FileList().topLevelItemCount(), 2) << "the view shows what the list holds";
    EXPECT_EQ(m_encryptions, 1);
}

TEST_F(MainWindow, HidingClearsTheListAndShowingBringsItBack)
{
    auto window = Make(Path("a.txt"));
    window->show();
    window->HideToTray();
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(Rows(*window), 0U);
    window->ShowToFront();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(MainWindow, TheSettingsButtonIsIgnoredWhileTheSettingsAreOpen)
{
    auto window = Make();
    auto* settings = window->findChild<ImageButton*>("1005");
    ASSERT_NE(settings, nullptr);
    settings->click();
    EXPECT_EQ(m_settings, 1);
    window->SetBusy(true);
    settings->click();
    EXPECT_EQ(m_settings, 1);
}

TEST_F(MainWindow, ButtonsMenusAndTheListCarryTheirIds)
{
    auto window = Make();
    for (const char* id : {"1001", "1002", "1004", "1005", "1080", "1077", "1078", "1079"})
        EXPECT_NE(window->findChild<ImageButton*>(id), nullptr) << id;
    EXPECT_NE(window->findChild<FileListView*>("1006"), nullptr);
    auto* encrypt = window->findChild<ImageButton*>("1001");
    ASSERT_NE(encrypt->DropDownMenu(), nullptr);
    EXPECT_EQ(encrypt->DropDownMenu()->objectName(), "149");
    EXPECT_EQ(encrypt->DropDownMenu()->actions().size(), 5);
    EXPECT_EQ(window->findChild<ImageButton*>("1002")->DropDownMenu()->actions().size(), 4);
    EXPECT_EQ(window->property("DeskWarden").toInt(), 1234) << "other programs find the window by it";
    EXPECT_EQ(window->windowTitle(), "Marlow");
}

TEST_F(MainWindow, TheEndButtonHidesButDoesNotEndTheProgram)
{
    auto window = Make(Path("a.txt"));
    window->show();
    int finished = 0;
    QObject::connect(window.get(), &QDialog::finished, [&] { ++finished; });
    window->findChild<ImageButton*>("1080")->click();
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(finished, 0);
    window->show();
    window->close();
    EXPECT_EQ(finished, 1) << "a close request ends the window, and with it the program";
    EXPECT_EQ(window->result(), QDialog::Accepted);
}

TEST_F(MainWindow, ThePlacementIsSavedOnDestructionAndRestored)
{
    {
        auto window = Make();
        window->setGeometry(40, 50, 700, 480);
    }
    const auto saved = LoadPlacement(DefaultProfilePath());
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(*saved, (WindowPlacement {40, 50, 740, 530, kShowNormal, 0}));
    auto again = Make();
    EXPECT_EQ(again->geometry(), QRect(40, 50, 700, 480));
}

TEST_F(MainWindow, ADamagedPlacementIsIgnored)
{
    ASSERT_TRUE(SavePlacement(DefaultProfilePath(), {0, 0, 700, 480, kShowNormal, 0}));
    CIniFile(DefaultProfilePath()).WriteString("Marlow", "WindowPlacement", "1,2,three");
    auto window = Make();
    EXPECT_EQ(window->size(), QSize(827, 536)) << "the template's size";
}

} // namespace
} // namespace deskwarden::test
