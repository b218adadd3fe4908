#include "AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace talk {
namespace {

std::string Reason(const std::string& what, const std::string& path, int err)
{
    return what + " " + path + ": " + std::strerror(err);
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, std::string_view bytes, const WriteChunkFn& write, int& err)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write ? write(fd, bytes.data() + done, bytes.size() - done)
                                : PosixWriteChunk(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            err = errno;
            return false;
        }
        if (n == 0) {
            err = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Without this the rename itself may not survive a power cut; failure here is not worth failing for.
void SyncFolder(const std::string& folder)
{
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

long long Nanoseconds(const timespec& t)
{
    return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec;
}

FileStamp StampOf(const struct stat& info)
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    FileStamp stamp;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedNs = Nanoseconds(info.st_mtim);
    stamp.changedNs = Nanoseconds(info.st_ctim);
    stamp.takenNs = Nanoseconds(now);
    return stamp;
}

// A superuser rewriting someone's store must not take it over: its owner could no longer change it.
// False, with `err` set, when the owner cannot be kept; the store is then left as it was.
bool KeepOwnerOf(const std::string& path, int fd, int& err)
{
    struct stat existing = {};
    if (::geteuid() != 0 || ::stat(path.c_str(), &existing) != 0 || (existing.st_uid == 0 && existing.st_gid == 0)) {
        return true;
    }
    if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        err = errno;
        return false;
    }
    return true;
}

} // namespace

bool FileStamp::operator==(const FileStamp& other) const noexcept
{
    return device == other.device && inode == other.inode && size == other.size && modifiedNs == other.modifiedNs
        && changedNs == other.changedNs;
}

bool FileStamp::IsRacy() const noexcept
{
    // File-system clocks tick coarsely (a few milliseconds); a generous margin costs one extra read at most.
    constexpr long long kClockSlackNs = 100'000'000;
    return changedNs + kClockSlackNs >= takenNs || modifiedNs + kClockSlackNs >= takenNs;
}

bool StampOfFile(const std::string& path, FileStamp& stamp) noexcept
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0) {
        return false;
    }
    stamp = StampOf(info);
    return true;
}

ssize_t PosixWriteChunk(int fd, const char* data, std::size_t size) noexcept
{
    return ::write(fd, data, size);
}

bool ReplaceFileAtomically(
    const std::string& path, std::string_view bytes, std::string& error, const WriteChunkFn& write)
{
    const std::string folder = FolderOf(path);
    std::string tempPath = folder + "/." + BaseNameOf(path) + ".XXXXXX";
    const int fd = ::mkostemp(tempPath.data(), O_CLOEXEC);
    if (fd < 0) {
        error = Reason("cannot create a temporary file beside", path, errno);
        return false;
    }

    ::fchmod(fd, kPrivateFileMode);
    int err = 0;
    bool ok = KeepOwnerOf(path, fd, err) && WriteAll(fd, bytes, write, err);
    if (ok && ::fsync(fd) != 0) {
        err = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    if (ok && ::rename(tempPath.c_str(), path.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(tempPath.c_str());
        error = Reason("cannot write", path, err);
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error, std::size_t maxBytes)
{
    FileStamp ignored;
    return ReadWholeFile(path, bytes, ignored, error, maxBytes);
}

bool ReadWholeFile(
    const std::string& path, std::string& bytes, FileStamp& stamp, std::string& error, std::size_t maxBytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = Reason("cannot open", path, errno);
        return false;
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = "not a regular file: " + path;
        return false;
    }
    if (static_cast<std::size_t>(info.st_size) > maxBytes) {
        ::close(fd);
        error = "file too large: " + path;
        return false;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            error = Reason("cannot read", path, err);
            return false;
        }
        if (n == 0) {
            break;
        }
        if (content.size() + static_cast<std::size_t>(n) > maxBytes) {
            ::close(fd);
            error = "file too large: " + path;
            return false;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    bytes = std::move(content);
    stamp = StampOf(info);
    return true;
}

bool PathExists(const std::string& path) noexcept
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0;
}

} // namespace talk
