#pragma once

#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

namespace halvox {

/** Appends little-endian values to a growing byte buffer. */
class ByteWriter
{
public:
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

    void WriteBytes(std::string_view bytes) { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }
    void WriteU8(uint8_t value) { m_bytes.push_back(value); }
    void WriteI16(int16_t value) { WriteLittleEndian(static_cast<uint16_t>(value), 2); }
    void WriteI32(int32_t value) { WriteLittleEndian(static_cast<uint32_t>(value), 4); }

    void WriteFloats(const std::vector<float>& values)
    {
        for (float value : values)
            WriteLittleEndian(std::bit_cast<uint32_t>(value), 4);
    }

private:
    void WriteLittleEndian(uint32_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            m_bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }

    std::vector<uint8_t> m_bytes;
};

} // namespace halvox
