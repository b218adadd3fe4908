#pragma once

#include "AtomicFile.h"

#include <string>
#include <string_view>

namespace talk {

/**
 * Holds an advisory lock that serialises changes of one store file among processes. The lock lives on a
 * companion file (`path` + ".lock"), not on the store itself, because atomic replacement gives the store
 * a new inode on every write. The kernel drops the lock when its holder dies, so a killed writer never
 * blocks the others.
 * Exclusive locks are taken by writers for a whole read-modify-write cycle; shared locks by readers that
 * must not see a change in progress (stores written in place). Blocks until the lock is granted; when the
 * lock file cannot be opened or made (a read-only folder) the object holds nothing and ErrorText says why.
 * Not reentrant: a second lock on the same store in the same process waits for the first forever.
 */
class FileLock
{
public:
    enum class Kind
    {
        Exclusive,
        Shared
    };

    explicit FileLock(const std::string& storePath, Kind kind = Kind::Exclusive) noexcept;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool IsHeld() const noexcept { return m_fd >= 0; }
    /** Why the lock is not held; "" when it is. */
    const std::string& ErrorText() const noexcept { return m_error; }

private:
    int m_fd = -1;
    std::string m_error;
};

/**
 * Makes the store at `path` with `bytes` unless a file is there, deciding under the store's lock: of two
 * programs starting on a fresh installation only one makes it, and the other does not empty what the first
 * may have written meanwhile.
 * @return true when the file exists afterwards; false, with `error` set, when it could not be made.
 */
[[nodiscard]] bool CreateStoreOnce(
    const std::string& path, std::string_view bytes, std::string& error, const WriteChunkFn& write = {});

} // namespace talk
