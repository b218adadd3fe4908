#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace halvox {

/**
 * Little-endian reader over a byte range it does not own. Every read checks the bytes that remain
 * before it touches or allocates anything; after the first failed read every later read fails too,
 * so a parser may check once at the end of a group of fields.
 */
class ByteReader
{
public:
    ByteReader(const uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    bool Ok() const { return m_ok; }
    std::size_t Remaining() const { return m_ok ? m_size - m_position : 0; }

    bool Skip(int64_t count)
    {
        if (!Take(count))
            return false;
        m_position += static_cast<std::size_t>(count);
        return true;
    }

    bool ReadBytes(int64_t count, std::string* out)
    {
        if (!Take(count))
            return false;
        out->assign(reinterpret_cast<const char*>(m_data + m_position), static_cast<std::size_t>(count));
        m_position += static_cast<std::size_t>(count);
        return true;
    }

    bool ReadU8(uint8_t* out)
    {
        if (!Take(1))
            return false;
        *out = m_data[m_position++];
        return true;
    }

    bool ReadI16(int16_t* out)
    {
        uint32_t value = 0;
        if (!ReadLittleEndian(2, &value))
            return false;
        *out = static_cast<int16_t>(static_cast<uint16_t>(value));
        return true;
    }

    bool ReadI32(int32_t* out)
    {
        uint32_t value = 0;
        if (!ReadLittleEndian(4, &value))
            return false;
        *out = static_cast<int32_t>(value);
        return true;
    }

    /** Reads `count` IEEE single-precision values; the size is checked before the vector grows. */
    bool ReadFloats(int64_t count, std::vector<float>* out)
    {
        if (count < 0 || count > static_cast<int64_t>(Remaining() / 4)) {
            m_ok = false;
            return false;
        }
        out->resize(static_cast<std::size_t>(count));
        for (float& value : *out) {
            uint32_t bits = 0;
            ReadLittleEndian(4, &bits);
            value = std::bit_cast<float>(bits);
        }
        return true;
    }

private:
    bool Take(int64_t count)
    {
        if (!m_ok || count < 0 || static_cast<uint64_t>(count) > m_size - m_position)
            m_ok = false;
        return m_ok;
    }

    bool ReadLittleEndian(int bytes, uint32_t* out)
    {
        if (!Take(bytes))
            return false;
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= static_cast<uint32_t>(m_data[m_position + static_cast<std::size_t>(i)]) << (8 * i);
        m_position += static_cast<std::size_t>(bytes);
        *out = value;
        return true;
    }

    const uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
    bool m_ok = true;
};

} // namespace halvox
