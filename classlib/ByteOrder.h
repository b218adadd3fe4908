#pragma once

#include <cstdint>
#include <string>

namespace talk {

/** The 32-bit little-endian number at `data` (four readable bytes). */
inline std::uint32_t ReadLe32(const char* data) noexcept
{
    const auto* b = reinterpret_cast<const unsigned char*>(data);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8)
        | (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

/** Writes `value` little-endian into four writable bytes at `data`. */
inline void WriteLe32(char* data, std::uint32_t value) noexcept
{
    for (int i = 0; i < 4; ++i) {
        data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

/** Appends `value` as four little-endian bytes. */
inline void AppendLe32(std::string& out, std::uint32_t value)
{
    char bytes[4];
    WriteLe32(bytes, value);
    out.append(bytes, 4);
}

} // namespace talk
