#include "users/UserStrings.h"

namespace deskwarden::users {

std::string StringText(int stringId)
{
    switch (stringId) {
    case kTitleRegister:
        return "ユーザー登録";
    case kTitleChange:
        return "ユーザー情報変更";
    case kNameMissing:
        return "名前を入力してください。";
    case kIdMissing:
        return "IDを入力してください。";
    case kGroupAdministrator:
        return "管理者";
    case kPasswordMissing:
        return "パスワードを入力してください。";
    case kPasswordsDiffer:
        return "入力したパスワードが違います。";
    case kForbiddenCharacter:
        return "“'%s”文字は使うことができません。";
    case kHintName:
        return "ユーザーの名前です。記号（/ : ; * ? など）は使えません。";
    case kHintId:
        return "ログオンに使うIDです。同じ名前のOSアカウントと結び付きます。";
    case kHintPassword:
        return "パスワードです。音声が使えないときやOSログオンに使います。";
    case kHintReEntry:
        return "確認のため、同じパスワードをもう一度入力してください。";
    case kHintGroup:
        return "管理者はユーザーと音声の登録・変更・削除ができます。";
    case kHintLogon:
        return "音声でOSにログオンできるようにします。";
    case kHintEncrypt:
        return "自分の音声でファイルを暗号化できるようにします。";
    case kHintDecrypt:
        return "自分の音声でファイルを復号化できるようにします。";
    case kGroupGeneral:
        return "一般ユーザー";
    case kIdAlreadyRegistered:
        return "すでに登録されたIDです。";
    case kIdNotRegistered:
        return "登録されてないIDです。";
    case kChangeDone:
        return "情報変更が完了しました。";
    case kEnrolmentFailed:
        return "音声登録が失敗しました。";
    case kRegistrationDone:
        return "ユーザー情報登録が完了しました。";
    case kDeleteVoiceQuestion:
        return "ユーザー音声情報を削除しますか?";
    case kTitleAccountRegister:
        return "WINDOWSユーザー登録";
    case kAccountPasswordWrong:
        return "入力したパスワードが違います。";
    default:
        return {};
    }
}

Message StringMessage(int stringId)
{
    return {stringId, StringText(stringId)};
}

Message ForbiddenCharacterMessage(char c)
{
    std::string text = StringText(kForbiddenCharacter);
    text.replace(text.find("%s"), 2, 1, c);
    return {kForbiddenCharacter, text};
}

std::string DeleteUserQuestion(const std::string& id)
{
    return "ユーザー'" + id + "'の情報を削除しますか？";
}

std::string DeleteVoiceQuestion(const std::string& word)
{
    return "'" + word + "'" + StringText(kDeleteVoiceQuestion);
}

} // namespace deskwarden::users
