// Opening a bundle by its path under the process key, apart from the reader itself so that the reader can
// be built and fuzzed without the class library.
#include "bundle/BundleReader.h"

#include "Crypto.h"

#include <platform/BoundaryGuard.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace deskwarden::bundle {
namespace {

bool DecryptUnderProcessKey(const std::string& encrypted, std::string& plain)
{
    plain = CCrypto().DecryptString(encrypted, CCrypto::GetProcessKey());
    return !plain.empty();
}

} // namespace

bool BundleReader::Open(const std::string& path, std::string& error) noexcept
{
    return platform::Guarded(false, error, [&] {
        // Not blocking: a pipe named like a bundle must be refused, not waited on.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            error = "cannot open " + path + ": " + std::strerror(errno);
            return false;
        }
        m_fd = fd;
        m_ownsFd = true;
        return Attach(fd, DecryptUnderProcessKey, error);
    });
}

} // namespace deskwarden::bundle
