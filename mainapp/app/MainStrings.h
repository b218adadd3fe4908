#pragma once

#include <string>

namespace deskwarden::app {

// The tray program's own texts.
inline constexpr const char* kProductCaption = "Marlow Desk Warden";
inline constexpr const char* kWindowTitle = "Marlow"; // string 132
inline constexpr const char* kTrayTip = "Marlow Desk Warden";
inline constexpr const char* kAboutClose = "閉じる";

/** Said when the program the command starts is not installed next to this one. */
std::string ProgramMissingText(const std::string& program);

/** Said when there is no notification area to put the program's icon in. */
inline constexpr const char* kNoTrayHost
    = "no notification area (system tray) is available on this desktop; start a panel or tray host and try again";

/** The five large buttons and their tooltips (strings 103 to 107). */
struct ButtonTip
{
    int controlId;
    const char* title;
    const char* text;
};

inline constexpr ButtonTip kButtonTips[] = {
    {1001, "ファイル暗号化", "自分の音声を使用してファイルを暗号化することができます。"},
    {1002, "ファイル復号化", "自分の音声を使用してファイルを復号化することができます。"},
    {1004, "画面ロック", "他のユーザーがコンピューターを使えないようにコンピューター画面をロックします。"},
    {1005, "環境設定", "プログラムの環境設定及びユーザー管理することができます。"},
    {1080, "プログラム終了", "プログラムを終了します。"},
};

/** The markup of a button tooltip: a bold red centred title, a green rule, then the text. */
std::string ButtonTipMarkup(const ButtonTip& tip);

} // namespace deskwarden::app
