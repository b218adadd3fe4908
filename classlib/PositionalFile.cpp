#include "PositionalFile.h"

#include <platform/BoundaryGuard.h>
#include <platform/OwnerOnlyMode.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace talk {

PositionalFile::PositionalFile(const std::string& path, Mode mode) noexcept
{
    if (!platform::GuardedCall([&] { m_path = path; })) {
        return;
    }
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::Read:
        flags |= O_RDONLY;
        break;
    case Mode::ReadWrite:
        flags |= O_RDWR;
        break;
    case Mode::CreateTruncate:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
    }
    m_fd = ::open(path.c_str(), flags, 0600);
    if (m_fd < 0) {
        Fail("cannot open");
        return;
    }
    // Stores written in place are never replaced, so the first write is where an older, looser mode ends.
    if (mode != Mode::Read) {
        platform::TightenToOwner(m_fd);
    }
}

PositionalFile::~PositionalFile()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool PositionalFile::Fail(const char* what) noexcept
{
    const int err = errno;
    platform::GuardedCall([&] { m_error = std::string(what) + " " + m_path + ": " + std::strerror(err); });
    return false;
}

std::uint64_t PositionalFile::Size() noexcept
{
    struct stat info
    {
    };
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0) {
        Fail("cannot query the size of");
        return 0;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

bool PositionalFile::ReadAt(std::uint64_t offset, void* data, std::size_t size) noexcept
{
    auto* bytes = static_cast<char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(m_fd, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return Fail("cannot read");
        }
        if (n == 0) {
            errno = EIO;
            return Fail("unexpected end of");
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool PositionalFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size) noexcept
{
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(m_fd, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return Fail("cannot write");
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool PositionalFile::Resize(std::uint64_t length) noexcept
{
    if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0) {
        return Fail("cannot resize");
    }
    return true;
}

} // namespace talk
