#include "bundle/BundleWriter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace deskwarden::bundle {
namespace {

std::string Reason(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

} // namespace

BundleWriter::~BundleWriter()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool BundleWriter::Create(const std::string& path, std::string& error)
{
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        error = Reason("cannot create " + path);
        return false;
    }
    return true;
}

bool BundleWriter::Write(const void* data, std::size_t size, std::string& error)
{
    const auto* in = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(m_fd, in, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            error = Reason("cannot write the bundle");
            return false;
        }
        in += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool BundleWriter::WritePreamble(const std::string& encryptedHeader, std::string& error)
{
    if (encryptedHeader.size() > format::kMaxHeaderLength) {
        error = "the header is too long";
        return false;
    }
    const std::string preamble = std::string(format::kMagic) + std::string(format::kVersion)
        + format::Uint32Bytes(static_cast<std::uint32_t>(encryptedHeader.size())) + encryptedHeader;
    m_countersAt = preamble.size();
    const std::string zeros = format::CounterBytes({});
    return Write(preamble.data(), preamble.size(), error) && Write(zeros.data(), zeros.size(), error);
}

bool BundleWriter::WriteFolder(const std::string& name, const std::string& statusRecord, std::string& error)
{
    const std::string record = format::Uint32Bytes(static_cast<std::uint32_t>(name.size())) + name + statusRecord;
    return Write(record.data(), record.size(), error);
}

bool BundleWriter::WriteFileHead(const std::string& name, const std::string& statusRecord, std::uint32_t plainSize,
    std::uint32_t storedSize, std::string& error)
{
    const std::string record = format::Uint32Bytes(static_cast<std::uint32_t>(name.size())) + name + statusRecord
        + format::Uint32Bytes(plainSize) + format::Uint32Bytes(storedSize);
    return Write(record.data(), record.size(), error);
}

bool BundleWriter::AppendFile(
    const std::string& path, const std::function<bool(std::uint64_t)>& afterBlock, std::string& error)
{
    const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        error = Reason("cannot read " + path);
        return false;
    }
    char block[format::kBlockSize];
    std::uint64_t copied = 0;
    bool ok = true;
    while (ok) {
        const ssize_t got = ::read(in, block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ok = got == 0 || (error = Reason("cannot read " + path), false);
            break;
        }
        copied += static_cast<std::uint64_t>(got);
        ok = Write(block, static_cast<std::size_t>(got), error) && afterBlock(copied);
    }
    ::close(in);
    return ok;
}

bool BundleWriter::Finish(const format::Counters& counters, std::string& error)
{
    const std::string bytes = format::CounterBytes(counters);
    if (::pwrite(m_fd, bytes.data(), bytes.size(), static_cast<off_t>(m_countersAt))
        != static_cast<ssize_t>(bytes.size())) {
        error = Reason("cannot write the bundle's counters");
        return false;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        error = Reason("cannot close the bundle");
        return false;
    }
    return true;
}

} // namespace deskwarden::bundle
