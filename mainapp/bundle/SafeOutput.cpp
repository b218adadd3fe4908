#include "bundle/SafeOutput.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace deskwarden::bundle {
namespace {

// Unpacked folders may hold secrets: only their owner reaches them.
constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;
constexpr int kHiddenNameAttempts = 100;

int OpenFolderAt(int parentFd, const std::string& name)
{
    return ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

std::string RandomSuffix()
{
    thread_local std::mt19937_64 generator {std::random_device {}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix;
    for (int i = 0; i < 12; ++i) {
        suffix += kLetters[generator() % (sizeof kLetters - 1)];
    }
    return suffix;
}

} // namespace

SafeOutput::~SafeOutput()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool SafeOutput::Open(const std::string& path, std::string& error)
{
    m_fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        error = "cannot open the output folder " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

int SafeOutput::MakeFolders(const std::vector<std::string>& components, std::string& error) const
{
    int current = ::dup(m_fd);
    for (const auto& component : components) {
        if (current < 0) {
            break;
        }
        if (::mkdirat(current, component.c_str(), kFolderMode) != 0 && errno != EEXIST) {
            error = "cannot create the folder " + component + ": " + std::strerror(errno);
            ::close(current);
            return -1;
        }
        const int next = OpenFolderAt(current, component);
        ::close(current);
        if (next < 0) {
            error = "cannot enter the folder " + component + " (a link or not a folder): " + std::strerror(errno);
            return -1;
        }
        current = next;
    }
    if (current < 0) {
        error = std::string("cannot open the output folder: ") + std::strerror(errno);
    }
    return current;
}

bool SafeOutput::Exists(int dirFd, const std::string& leaf)
{
    struct stat info
    {
    };
    return ::fstatat(dirFd, leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

bool SafeOutput::MakeHiddenFile(int dirFd, std::string& name, std::string& path, std::string& error)
{
    for (int attempt = 0; attempt < kHiddenNameAttempts; ++attempt) {
        const std::string candidate = ".QX" + RandomSuffix();
        const int fd
            = ::openat(dirFd, candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode);
        if (fd >= 0) {
            ::close(fd);
            name = candidate;
            // The descriptor's own link names the folder itself, whatever happens to the path it came from.
            path = "/proc/self/fd/" + std::to_string(dirFd) + "/" + candidate;
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    error = std::string("cannot create a file in the output folder: ") + std::strerror(errno);
    return false;
}

bool SafeOutput::Replace(int dirFd, const std::string& from, const std::string& to, std::string& error)
{
    if (::renameat(dirFd, from.c_str(), dirFd, to.c_str()) != 0) {
        error = "cannot put " + to + " in place: " + std::strerror(errno);
        return false;
    }
    return true;
}

void SafeOutput::Remove(int dirFd, const std::string& name)
{
    ::unlinkat(dirFd, name.c_str(), 0);
}

} // namespace deskwarden::bundle
