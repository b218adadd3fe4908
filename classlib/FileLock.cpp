#include "FileLock.h"

#include "AtomicFile.h"

#include <platform/BoundaryGuard.h>
#include <platform/OwnerOnlyMode.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace talk {
FileLock::FileLock(const std::string& storePath, Kind kind) noexcept
{
    // Only the texts can fail to allocate, and never while a descriptor is open.
    const bool done = platform::GuardedCall([&] {
        const std::string lockPath = storePath + ".lock";
        m_fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kPrivateFileMode);
        if (m_fd < 0 && errno == EACCES) {
            // A reader without write access to a store's lock file may still take a shared lock on it.
            m_fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        }
        if (m_fd < 0) {
            const int err = errno;
            m_error = "cannot lock " + storePath + " (" + lockPath + ": " + std::strerror(err) + ")";
            return;
        }
        platform::TightenToOwner(m_fd); // lock files made before the stores became private
        int rc = 0;
        do {
            rc = ::flock(m_fd, kind == Kind::Exclusive ? LOCK_EX : LOCK_SH);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            const int err = errno;
            ::close(m_fd);
            m_fd = -1;
            m_error = "cannot lock " + storePath + ": " + std::strerror(err);
        }
    });
    if (!done) {
        m_error.clear();
    }
}

FileLock::~FileLock()
{
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
    }
}

bool CreateStoreOnce(const std::string& path, std::string_view bytes, std::string& error, const WriteChunkFn& write)
{
    if (PathExists(path)) {
        return true;
    }
    const FileLock lock(path);
    if (!lock.IsHeld()) {
        error = lock.ErrorText();
        return false;
    }
    return PathExists(path) || ReplaceFileAtomically(path, bytes, error, write);
}

} // namespace talk
