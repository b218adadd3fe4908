#include "files/ListCommands.h"

#include <filesystem>

namespace deskwarden::files {

namespace {

constexpr ListCommand kEncryptionMenu[] = {
    {32771, "暗号化スタ-ト(&E)", ListAction::EncryptAll},
    {32802, "対象ファイル追加(&A)", ListAction::AddFiles},
    {32780, "対象フォルダ追加(&F)", ListAction::AddFolder},
    {32781, "選択ファイル削除(&S)", ListAction::RemoveSelected},
    {32782, "すべてのファイル削除(&T)", ListAction::RemoveAll},
};

constexpr ListCommand kDecryptionMenu[] = {
    {32778, "復号化スタ-ト(&D)", ListAction::DecryptAll},
    {32801, "対象ファイル追加(&A)", ListAction::AddBundles},
    {32781, "選択ファイル削除(&S)", ListAction::RemoveSelected},
    {32782, "すべてのファイル削除(&T)", ListAction::RemoveAll},
};

constexpr ListCommand kListMenu[] = {
    {32796, "暗号化スタ-ト(&E)", ListAction::EncryptSelected},
    {32797, "復号化スタ-ト(&D)", ListAction::DecryptSelected},
    {32779, "対象ファイル追加(&A)", ListAction::AddFiles},
    {32780, "対象フォルダ追加(&F)", ListAction::AddFolder},
    {32781, "選択ファイル削除(&S)", ListAction::RemoveSelected},
    {32782, "すべてのファイル削除(&T)", ListAction::RemoveAll},
};

} // namespace

std::span<const ListCommand> EncryptionMenu()
{
    return kEncryptionMenu;
}

std::span<const ListCommand> DecryptionMenu()
{
    return kDecryptionMenu;
}

std::span<const ListCommand> ListMenu()
{
    return kListMenu;
}

bool IsAddableFolder(const char* path)
{
    if (path == nullptr || *path == '\0')
        return false;
    const std::filesystem::path folder(path);
    return folder.relative_path().lexically_normal() != std::filesystem::path(".") && !folder.relative_path().empty();
}

} // namespace deskwarden::files
