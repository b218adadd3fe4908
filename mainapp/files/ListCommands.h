#pragma once

#include <span>

namespace deskwarden::files {

/** What a command of the file list's menus does. */
enum class ListAction
{
    EncryptAll,
    EncryptSelected,
    DecryptAll,
    DecryptSelected,
    AddFiles,
    AddBundles,
    AddFolder,
    RemoveSelected,
    RemoveAll,
};

struct ListCommand
{
    int id;
    const char* text;
    ListAction action;
};

/** Menu 149 (encryption button), 150 (decryption button) and 151 (the list's context menu), in order. */
std::span<const ListCommand> EncryptionMenu();
std::span<const ListCommand> DecryptionMenu();
std::span<const ListCommand> ListMenu();

/** The prompt of the folder chooser. */
inline constexpr const char* kChooseFolderPrompt = "暗号化するフォルダを選択してください。";
/** The open dialog's filter for bundles. */
inline constexpr const char* kBundleFilter = "Encrypted files (*.wdv);;All files (*.*)";
inline constexpr const char* kAllFilesFilter = "All files (*.*)";

/** The list's column titles and widths in pixels. */
struct ListColumn
{
    const char* title;
    int width;
};
inline constexpr ListColumn kListColumns[] = {
    {"ファイル名", 300},
    {"サイズ", 80},
    {"ファイル日付", 110},
    {"備考", 200},
};

/** A chosen folder is listed unless it is the root of the file system. */
bool IsAddableFolder(const char* path);

} // namespace deskwarden::files
