#pragma once

#include <string>

namespace deskwarden::bundle {

// The texts a bundle job shows, keyed by their resource numbers where they have one.
inline constexpr int kOverwriteQuestionId = 145;
inline constexpr int kStopQuestionId = 146;
inline constexpr int kEncryptingFileId = 147;
inline constexpr int kPackingFileId = 148;
inline constexpr int kUnpackingFileId = 149;
inline constexpr int kDecryptingFileId = 150;
inline constexpr int kDeletingSourcesId = 162;

inline constexpr const char* kOverwriteQuestion = "同じ名前のファイルがあります。上書きしますか？";
inline constexpr const char* kStopQuestion = "作業を中止しますか?";
inline constexpr const char* kEncryptingFile = "ファイル暗号化作業中。";
inline constexpr const char* kPackingFile = "ファイル圧縮作業中。";
inline constexpr const char* kUnpackingFile = "ファイル解凍作業中。";
inline constexpr const char* kDecryptingFile = "ファイル復号化作業中。";
inline constexpr const char* kDeletingSources = "ファイルを削除作業中。";
/** Shown when a source vanished just before it was encrypted; the job then ends as stopped. */
inline constexpr const char* kSourceVanished = "対象ファイルが存在しなくて作業が終わりました。";

/** The longest status line in characters; a longer one keeps its head and tail around "...". */
inline constexpr std::size_t kStatusLineLimit = 60;

/**
 * The progress window's upper label: `fileName`, a space and `status`. Longer than 60 characters (UTF-8
 * characters, not bytes), it becomes its first 3 characters, "..." and its last 54 characters.
 */
std::string StatusLine(const std::string& fileName, const std::string& status);

} // namespace deskwarden::bundle
