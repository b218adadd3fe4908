#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace deskwarden::bundle::format {

inline constexpr std::string_view kMagic = "OpenHalvox";
inline constexpr std::string_view kVersion = "0100";
/** Magic, version and the header length, all before the encrypted header text. */
inline constexpr std::size_t kPreambleSize = 18;
inline constexpr std::size_t kCounterBlockSize = 16;
inline constexpr std::size_t kStatusRecordSize = 280;
inline constexpr std::size_t kStatusPathSize = 260;
/** The copy block between a bundle and its temporary files. */
inline constexpr std::size_t kBlockSize = 4096;
/** Longest name inside a bundle and longest encrypted header that a reader accepts (both far above use). */
inline constexpr std::uint32_t kMaxNameLength = 4096;
inline constexpr std::uint32_t kMaxHeaderLength = 1u << 20;

/** The four counters that follow the header. */
struct Counters
{
    std::uint32_t fileCount = 0;
    std::uint32_t folderCount = 0;
    std::uint32_t totalPlainBytes = 0;
    std::uint32_t totalStoredBytes = 0;
};

void PutUint32(char* out, std::uint32_t value) noexcept;
std::uint32_t GetUint32(const char* in) noexcept;
std::string Uint32Bytes(std::uint32_t value);

/** The 16 counter bytes, in the order of the file. */
std::string CounterBytes(const Counters& counters);
Counters ParseCounters(const char* in) noexcept;

/**
 * The 280-byte status record of `path` as it is now: creation, modification and access times (32-bit),
 * size (32-bit), attribute byte, padding and the full path, zero-padded and cut to 259 bytes. Readers skip
 * it, so a field that cannot be had is left zero.
 */
std::string StatusRecord(const std::string& path);

} // namespace deskwarden::bundle::format
