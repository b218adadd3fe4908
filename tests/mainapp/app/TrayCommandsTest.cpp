#include "app/TrayCommands.h"
#include "app/MainStrings.h"

#include <gtest/gtest.h>

#include <set>

namespace deskwarden::test {
namespace {

using namespace deskwarden::app;

TEST(TrayMenu, TwelveDistinctItemsTheLockFirstAndExitLast)
{
    const auto items = TrayItems();
    ASSERT_EQ(items.size(), 12U);
    EXPECT_EQ(items.front().command, Command::LockScreen);
    EXPECT_EQ(items.back().command, Command::Exit);
    std::set<int> ids;
    std::set<Command> commands;
    for (const TrayItem& item : items) {
        ids.insert(item.id);
        commands.insert(item.command);
        EXPECT_EQ(TrayItemById(item.id), &item);
    }
    EXPECT_EQ(ids.size(), items.size());
    EXPECT_EQ(commands.size(), items.size()) << "every command is reachable from the tray";
    EXPECT_EQ(TrayItemById(1), nullptr);
}

TEST(TrayMenu, OnlyTheStoreChangingCommandsAskForTheVoice)
{
    std::set<Command> gated;
    for (const TrayItem& item : TrayItems())
        if (NeedsVoiceCheck(item.command))
            gated.insert(item.command);
    EXPECT_EQ(gated, (std::set<Command> {Command::Settings, Command::Backup, Command::Restore, Command::Transfer}));
}

TEST(ButtonTips, EachIsATitleARuleAndAText)
{
    EXPECT_EQ(ButtonTipMarkup(kButtonTips[0]),
        "<b><ct=0x0000FF><al_c>ファイル暗号化</b><br><ct=0x00AA00><hr=100%></ct><br>"
        "自分の音声を使用してファイルを暗号化することができます。");
    EXPECT_EQ(std::size(kButtonTips), 5U);
}

} // namespace
} // namespace deskwarden::test
