#include "app/TrayCommands.h"

#include <algorithm>
#include <iterator>

namespace deskwarden::app {

namespace {

// The text after the tab is a label only: the program loads no shortcuts for these items.
constexpr TrayItem kItems[] = {
    {32783, "スクリーンセーバー起動(&S)\tCtrl+S", Command::LockScreen},
    {32784, "ファイル暗号化(&C)\tCtrl+C", Command::ShowMainWindow},
    {32786, "スクリーンセーバーの設定(&P)\tCtrl+P", Command::LockScreenSettings},
    {32792, "スクリーンセーバー自動実行(&A)\tCtrl+A", Command::ToggleAutoLock},
    {32785, "プログラム環境設定(&V)\tCtrl+V", Command::Settings},
    {32798, "ユーザー情報のバックアップ(&B)\tCtrl+B", Command::Backup},
    {32800, "ユーザー情報の復元(&R)\tCtrl+R", Command::Restore},
    {32788, "ユーザー情報の転送(&T)\tCtrl+T", Command::Transfer},
    {32799, "logファイル(&L)\tCtrl+L", Command::OpenLog},
    {32793, "オンラインマニュアル(&M)\tCtrl+M", Command::OpenManual},
    {32791, "プログラム情報(&I)\tCtrl+I", Command::About},
    {32790, "プログラム終了(&X)\tCtrl+X", Command::Exit},
};

} // namespace

std::span<const TrayItem> TrayItems()
{
    return kItems;
}

const TrayItem* TrayItemById(int id)
{
    const auto* found
        = std::find_if(std::begin(kItems), std::end(kItems), [id](const TrayItem& item) { return item.id == id; });
    return found == std::end(kItems) ? nullptr : found;
}

bool NeedsVoiceCheck(Command command)
{
    return command == Command::Settings || command == Command::Backup || command == Command::Restore
        || command == Command::Transfer;
}

} // namespace deskwarden::app
