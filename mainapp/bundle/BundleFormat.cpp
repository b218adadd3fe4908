#include "bundle/BundleFormat.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>

namespace deskwarden::bundle::format {
namespace {

// The attribute bits the record has always carried: read-only, directory, archive.
constexpr unsigned char kAttributeReadOnly = 0x01;
constexpr unsigned char kAttributeDirectory = 0x10;
constexpr unsigned char kAttributeArchive = 0x20;

std::uint32_t Clamp32(long long value)
{
    return static_cast<std::uint32_t>(std::clamp<long long>(value, 0, std::numeric_limits<std::uint32_t>::max()));
}

unsigned char Attributes(const struct statx& info)
{
    unsigned char attributes = S_ISDIR(info.stx_mode) ? kAttributeDirectory : kAttributeArchive;
    if ((info.stx_mode & S_IWUSR) == 0) {
        attributes |= kAttributeReadOnly;
    }
    return attributes;
}

} // namespace

void PutUint32(char* out, std::uint32_t value) noexcept
{
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::uint32_t GetUint32(const char* in) noexcept
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(in[i]);
    }
    return value;
}

std::string Uint32Bytes(std::uint32_t value)
{
    std::string bytes(4, '\0');
    PutUint32(bytes.data(), value);
    return bytes;
}

std::string CounterBytes(const Counters& counters)
{
    return Uint32Bytes(counters.fileCount) + Uint32Bytes(counters.folderCount) + Uint32Bytes(counters.totalPlainBytes)
        + Uint32Bytes(counters.totalStoredBytes);
}

Counters ParseCounters(const char* in) noexcept
{
    return {GetUint32(in), GetUint32(in + 4), GetUint32(in + 8), GetUint32(in + 12)};
}

std::string StatusRecord(const std::string& path)
{
    std::string record(kStatusRecordSize, '\0');
    struct statx info
    {
    };
    if (statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &info) == 0) {
        const bool hasBirth = (info.stx_mask & STATX_BTIME) != 0;
        PutUint32(record.data(), Clamp32(hasBirth ? info.stx_btime.tv_sec : info.stx_mtime.tv_sec));
        PutUint32(record.data() + 4, Clamp32(info.stx_mtime.tv_sec));
        PutUint32(record.data() + 8, Clamp32(info.stx_atime.tv_sec));
        PutUint32(record.data() + 12, Clamp32(static_cast<long long>(std::min<std::uint64_t>(info.stx_size, ~0u))));
        record[16] = static_cast<char>(Attributes(info));
    }
    const std::size_t pathBytes = std::min(path.size(), kStatusPathSize - 1);
    std::memcpy(record.data() + 20, path.data(), pathBytes);
    return record;
}

} // namespace deskwarden::bundle::format
