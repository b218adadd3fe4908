#pragma once

// What the transfer tells its operators, as the tray program shows it.
namespace deskwarden::transfer {

inline constexpr const char* kTransferTitle = "ユーザー情報の転送";
inline constexpr const char* kReceiveTitle = "ユーザー情報受信";
inline constexpr const char* kThisComputer = "このコンピューター";
inline constexpr const char* kUserToSend = "転送するユーザー";
inline constexpr const char* kReceivingComputer = "受信するコンピューター";
inline constexpr const char* kHostNameLabel = "ホスト名";
inline constexpr const char* kAddressLabel = "IP アドレス";
inline constexpr const char* kNameLabel = "名前";
inline constexpr const char* kIdLabel = "ID";
inline constexpr const char* kSendButton = "送信";
inline constexpr const char* kCloseButton = "閉じる";
inline constexpr const char* kNeighbourhoodRoot = "Network Neighborhood";
inline constexpr const char* kReceiveLine1 = "次のコンピューターからユーザー情報の";
inline constexpr const char* kReceiveLine2 = "受信リクエストが来ています。保存しますか?";

inline constexpr const char* kHostNotFound = "目的地IPアドレスを探索することができません。";
inline constexpr const char* kNoAddress = "受信するコンピューターのIPアドレスを入力してください。";
inline constexpr const char* kNoUserChosen = "転送するユーザーを選択してください。";
inline constexpr const char* kCannotOpenModel = "ファイルを開くことができないです!\n%s";
inline constexpr const char* kSendFinished = "ユーザー情報転送が完了しました。";
inline constexpr const char* kPeerStored = "送信されました。";
inline constexpr const char* kPeerCancelled = "取り消しされました。";
inline constexpr const char* kReplaceQuestion = "同名のユーザーが既に存在します。上書きしますか？";
inline constexpr const char* kCannotCreateModel = "ファイルを作ることができないです。\n%s\n";

} // namespace deskwarden::transfer
