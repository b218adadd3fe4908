#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>

namespace talk {

/**
 * Writes bytes to an open descriptor the way write(2) does: the number of bytes written, or -1 with
 * errno set. Stores take one of these so that tests can make a write fail (or the process die) after
 * a chosen number of bytes.
 */
using WriteChunkFn = std::function<ssize_t(int fd, const char* data, std::size_t size)>;

/** Limit of ReadWholeFile unless told otherwise: far above any store the suite writes. */
inline constexpr std::size_t kDefaultMaxFileBytes = std::size_t {256} * 1024 * 1024;

/** The plain write(2) channel. */
ssize_t PosixWriteChunk(int fd, const char* data, std::size_t size) noexcept;

/** Mode of every file the stores write: they hold passwords and voice models, so only the owner reads them. */
inline constexpr mode_t kPrivateFileMode = 0600;

/**
 * What identifies one version of a file without reading it. Every atomic replacement makes a new inode,
 * so a different stamp means another version; an equal stamp is trusted only when it is not racy (see
 * IsRacy), because an inode number may be reused within one tick of the file-system clock.
 */
struct FileStamp
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    long long modifiedNs = 0;
    long long changedNs = 0;
    long long takenNs = 0; // wall-clock time at which the stamp was taken

    bool operator==(const FileStamp& other) const noexcept;
    /** True when the file changed so shortly before the stamp was taken that a later version may look alike. */
    bool IsRacy() const noexcept;
};

/** The stamp of the file at `path`; false when there is none (missing, unreadable). */
[[nodiscard]] bool StampOfFile(const std::string& path, FileStamp& stamp) noexcept;

/**
 * Replaces the file at `path` by `bytes` so that, whatever happens meanwhile (a failed write, a full
 * disk, a crash), the path holds either the old content or the new one, never a mix or a stub.
 * The bytes go to a temporary file in the same folder, which is flushed to disk and renamed over
 * `path`. The new file has kPrivateFileMode whatever the umask (so an older, looser file is tightened
 * by its first rewrite) and, when the writer is the superuser, the owner of the file it replaces.
 * @param write  channel for the data bytes; empty means write(2).
 * @param error  set to a readable reason on failure.
 * @return true on success; on failure `path` is untouched and the temporary file removed.
 */
[[nodiscard]] bool ReplaceFileAtomically(
    const std::string& path, std::string_view bytes, std::string& error, const WriteChunkFn& write = {});

/**
 * Reads a whole regular file into `bytes`.
 * @param maxBytes  files longer than this are refused, so that a stray huge file cannot exhaust memory.
 * @return true on success; false with `error` set when the file is missing, unreadable or too long.
 */
[[nodiscard]] bool ReadWholeFile(
    const std::string& path, std::string& bytes, std::string& error, std::size_t maxBytes = kDefaultMaxFileBytes);

/** ReadWholeFile that also gives the stamp of the very version it read. */
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& bytes, FileStamp& stamp, std::string& error,
    std::size_t maxBytes = kDefaultMaxFileBytes);

/** True when a file system object exists at `path` (a dangling link counts as missing). */
bool PathExists(const std::string& path) noexcept;

} // namespace talk
