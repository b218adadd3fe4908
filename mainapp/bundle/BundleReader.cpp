#include "bundle/BundleReader.h"

#include "bundle/BundleFormat.h"
#include "bundle/HeaderText.h"

#include <platform/BoundaryGuard.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace deskwarden::bundle {
namespace {

constexpr const char* kDamaged = "the bundle is damaged: ";

} // namespace

BundleReader::~BundleReader()
{
    if (m_ownsFd && m_fd >= 0) {
        ::close(m_fd);
    }
}

bool BundleReader::Attach(int fd, const HeaderDecryptor& decrypt, std::string& error) noexcept
{
    return platform::Guarded(false, error, [&] {
        m_fd = fd;
        struct stat info
        {
        };
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            error = "not a bundle: not a regular file";
            return false;
        }
        m_size = static_cast<std::uint64_t>(info.st_size);
        char preamble[format::kPreambleSize];
        if (m_size < format::kPreambleSize || !ReadAt(0, preamble, sizeof preamble, error)
            || std::string_view(preamble, format::kMagic.size()) != format::kMagic) {
            error = "not a bundle: the file does not begin with its mark";
            return false;
        }
        m_header.version.assign(preamble + format::kMagic.size(), format::kVersion.size());
        const std::uint32_t headerLength = format::GetUint32(preamble + 14);
        const std::uint64_t countersAt = format::kPreambleSize + std::uint64_t {headerLength};
        if (headerLength > format::kMaxHeaderLength || countersAt + format::kCounterBlockSize > m_size) {
            error = std::string(kDamaged) + "its header runs past the end";
            return false;
        }
        std::string encrypted(headerLength, '\0');
        char counters[format::kCounterBlockSize];
        if (!ReadAt(format::kPreambleSize, encrypted.data(), headerLength, error)
            || !ReadAt(countersAt, counters, sizeof counters, error)) {
            return false;
        }
        std::string plain;
        if (!decrypt(encrypted, plain) || !header_text::Parse(plain, m_header.values)) {
            error = std::string(kDamaged) + "its header does not decrypt";
            return false;
        }
        const auto parsed = format::ParseCounters(counters);
        m_header.fileCount = parsed.fileCount;
        m_header.folderCount = parsed.folderCount;
        m_header.totalPlainBytes = parsed.totalPlainBytes;
        m_header.totalStoredBytes = parsed.totalStoredBytes;
        m_header.firstRecordOffset = countersAt + format::kCounterBlockSize;
        m_position = m_header.firstRecordOffset;
        m_foldersLeft = parsed.folderCount;
        m_filesLeft = parsed.fileCount;
        return true;
    });
}

bool BundleReader::ReadAt(std::uint64_t offset, void* data, std::size_t size, std::string& error) const
{
    auto* out = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = ::pread(m_fd, out, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            error = got == 0 ? std::string(kDamaged) + "it ends early"
                             : std::string("read error: ") + std::strerror(errno);
            return false;
        }
        out += got;
        offset += static_cast<std::uint64_t>(got);
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool BundleReader::ReadRecord(RecordInfo& record, std::string& error)
{
    const std::uint64_t left = m_size - m_position;
    char lengthBytes[4];
    if (left < 4 || !ReadAt(m_position, lengthBytes, 4, error)) {
        error = std::string(kDamaged) + "a record runs past the end";
        return false;
    }
    const std::uint32_t nameLength = format::GetUint32(lengthBytes);
    const std::uint64_t fixed = 4 + std::uint64_t {nameLength} + format::kStatusRecordSize + (record.isFolder ? 0 : 8);
    if (nameLength == 0 || nameLength > format::kMaxNameLength || fixed > left) {
        error = std::string(kDamaged) + "a record's name runs past the end";
        return false;
    }
    record.name.assign(nameLength, '\0');
    if (!ReadAt(m_position + 4, record.name.data(), nameLength, error)) {
        return false;
    }
    m_position += 4 + nameLength + format::kStatusRecordSize;
    if (record.isFolder) {
        return true;
    }
    char sizes[8];
    if (!ReadAt(m_position, sizes, sizeof sizes, error)) {
        return false;
    }
    record.plainSize = format::GetUint32(sizes);
    record.storedSize = format::GetUint32(sizes + 4);
    record.dataOffset = m_position + 8;
    if (record.storedSize > m_size - record.dataOffset) {
        error = std::string(kDamaged) + "a file's stored bytes run past the end";
        return false;
    }
    m_position = record.dataOffset + record.storedSize;
    return true;
}

bool BundleReader::Next(RecordInfo& record, std::string& error) noexcept
{
    return platform::Guarded(false, error, [&] {
        if (m_fd < 0 || m_broken) {
            error = "the bundle is not open";
            return false;
        }
        if (m_foldersLeft == 0 && m_filesLeft == 0) {
            if (m_position != m_size) {
                error = std::string(kDamaged) + "bytes follow the last record";
                m_broken = true;
            }
            return false;
        }
        RecordInfo next;
        next.isFolder = m_foldersLeft > 0;
        if (!ReadRecord(next, error)) {
            m_broken = true;
            return false;
        }
        --(next.isFolder ? m_foldersLeft : m_filesLeft);
        m_current = next;
        record = std::move(next);
        return true;
    });
}

bool BundleReader::CopyStored(const std::function<bool(const char*, std::size_t)>& sink, std::string& error) noexcept
{
    return platform::Guarded(false, error, [&] {
        if (m_broken || m_current.isFolder || m_current.dataOffset == 0) {
            error = "no file record to copy";
            return false;
        }
        char block[format::kBlockSize];
        std::uint64_t offset = m_current.dataOffset;
        std::uint64_t left = m_current.storedSize;
        while (left > 0) {
            const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(left, sizeof block));
            if (!ReadAt(offset, block, chunk, error)) {
                m_broken = true;
                return false;
            }
            if (!sink(block, chunk)) {
                error = "copying was stopped";
                m_broken = true;
                return false;
            }
            offset += chunk;
            left -= chunk;
        }
        return true;
    });
}

} // namespace deskwarden::bundle
