#pragma once

#include <string>

namespace talk {

/**
 * Holds an exclusive advisory lock that serialises read-modify-write cycles on one store file among
 * processes. The lock lives on a companion file (`path` + ".lock"), not on the store itself, because
 * atomic replacement gives the store a new inode on every write.
 * Blocks until the lock is granted; when the lock file cannot be made (read-only folder) the object
 * holds nothing and the write that follows will fail on its own.
 */
class FileLock
{
public:
    explicit FileLock(const std::string& storePath) noexcept;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool IsHeld() const noexcept { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace talk
