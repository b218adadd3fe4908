#pragma once

#include <cstdint>

namespace halvox {

/**
 * The engine's pseudo-random generator: seed = seed * 214013 + 2531011 (mod 2^32), value = (seed >> 16) & 0x7fff.
 * Models must come out identical on every run and platform, so the engine never uses the C library's rand().
 */
class Lcg
{
public:
    explicit Lcg(uint32_t seed = 0)
        : m_seed(seed)
    {
    }

    void Reseed(uint32_t seed) { m_seed = seed; }

    /** Next value in 0 ... 32767. */
    int Next()
    {
        m_seed = m_seed * 214013u + 2531011u;
        return static_cast<int>((m_seed >> 16) & 0x7fffu);
    }

    /** Next value scaled to 0 ... 1 (value / 32767, both ends included). */
    double NextUnit() { return Next() / 32767.0; }

private:
    uint32_t m_seed;
};

} // namespace halvox
