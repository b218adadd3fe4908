#include "bundle/TempFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace deskwarden::bundle::temp_files {

bool PrepareFolder(const std::string& folder, std::string& error)
{
    std::string partial;
    for (std::size_t i = 0; i <= folder.size(); ++i) {
        if (i == folder.size() || (folder[i] == '/' && i > 0)) {
            if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
                error = "cannot create the temporary folder " + folder + ": " + std::strerror(errno);
                return false;
            }
        }
        if (i < folder.size()) {
            partial += folder[i];
        }
    }
    struct stat info
    {
    };
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = "the temporary folder " + folder + " is not a folder";
        return false;
    }
    return true;
}

std::string MakeFile(const std::string& folder, std::string& error, const std::string& prefix)
{
    std::string pattern = folder + "/" + prefix + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot create a temporary file in " + folder + ": " + std::strerror(errno);
        return {};
    }
    ::close(fd);
    return std::string(buffer.data());
}

void Remove(const std::string& path) noexcept
{
    if (!path.empty()) {
        ::unlink(path.c_str());
    }
}

std::int64_t SizeOf(const std::string& path) noexcept
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
}

} // namespace deskwarden::bundle::temp_files
