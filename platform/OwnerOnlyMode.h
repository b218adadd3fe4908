#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The suite's files and folders are their owner's alone. Those an earlier version made with the umask's
// mode are tightened the next time the suite opens them for a change; someone else's are left to the
// strict check, which names them.
namespace platform {

/** Drops the group and other bits of the open file or folder `fd` when this process owns it. */
inline void TightenToOwner(int fd) noexcept
{
    struct stat info = {};
    if (::fstat(fd, &info) == 0 && info.st_uid == ::geteuid() && (info.st_mode & 077) != 0) {
        ::fchmod(fd, info.st_mode & 0700);
    }
}

} // namespace platform
