#pragma once

#include <string>

namespace deskwarden::users {

/** A text the user-management windows show; `stringId` is its resource number, 0 for a text without one. */
struct Message
{
    int stringId = 0;
    std::string text;

    bool operator==(const Message&) const = default;
};

// Resource strings of the registration dialog and the user page, keyed by their numbers.
inline constexpr int kTitleRegister = 114;
inline constexpr int kTitleChange = 115;
inline constexpr int kNameMissing = 116;
inline constexpr int kIdMissing = 117;
inline constexpr int kGroupAdministrator = 118;
inline constexpr int kPasswordMissing = 119;
inline constexpr int kPasswordsDiffer = 120;
inline constexpr int kForbiddenCharacter = 121;
// Hints shown in the registration dialog's message area when a field takes the focus.
inline constexpr int kHintName = 122;
inline constexpr int kHintId = 123;
inline constexpr int kHintPassword = 124;
inline constexpr int kHintReEntry = 125;
inline constexpr int kHintGroup = 126;
inline constexpr int kHintLogon = 127;
inline constexpr int kHintEncrypt = 128;
inline constexpr int kHintDecrypt = 129;
inline constexpr int kGroupGeneral = 131;
inline constexpr int kIdAlreadyRegistered = 133;
inline constexpr int kIdNotRegistered = 134;
inline constexpr int kChangeDone = 135;
inline constexpr int kEnrolmentFailed = 137;
inline constexpr int kRegistrationDone = 138;
inline constexpr int kDeleteVoiceQuestion = 140;
inline constexpr int kTitleAccountRegister = 143;
inline constexpr int kAccountPasswordWrong = 144;

/** The text of resource string `stringId`, "" for a number this module does not use. */
std::string StringText(int stringId);

/** A message made of resource string `stringId`. */
Message StringMessage(int stringId);

/** String 121 naming the forbidden character `c`. */
Message ForbiddenCharacterMessage(char c);

// Texts without a resource number.
inline constexpr const char* kProductCaption = "Marlow Desk Warden";
inline constexpr const char* kAccountPasswordBox = "入力したパスワードはローカルアドミニストレーターのパスワードと異な"
                                                   "ります。\n正しいパスワードを入力してください。";
inline constexpr const char* kLastAdministrator = "管理者は必ず一人以上いなければならないです。";
inline constexpr const char* kAccountRowUndeletable = "OSログオン一体化ユーザーは削除できません。";
inline constexpr const char* kAdministratorUndeletable = "Administratorユーザーは削除することができないです。";
inline constexpr const char* kLastVoice = "登録音声は最低1語必要です。";
inline constexpr const char* kBypassKeyQuestion = "今すぐBy-passキーを作成しますか？";
// Told after a yes to the question above when the program installed no drive dialog.
inline constexpr const char* kBypassKeyUnavailable
    = "By-passキーの作成は、このバージョンではまだご利用いただけません。";

/** The question asked before user `id` is deleted. */
std::string DeleteUserQuestion(const std::string& id);

/** The question asked before the voice shown as `word` is deleted. */
std::string DeleteVoiceQuestion(const std::string& word);

} // namespace deskwarden::users
