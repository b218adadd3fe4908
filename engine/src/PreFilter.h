#pragma once

#include <cstdint>

namespace halvox {

/// Number of trailing samples the pre-filter leaves as they were (its taps reach 34 samples ahead).
inline constexpr int kPreFilterTail = 35;

/**
 * Band-pass pre-filter applied in place to a whole recording before endpoint detection.
 *
 * Sample k (k = 0 ... count - 36) becomes the sum of 18 even taps over samples k, k + 2, ..., k + 34,
 * truncated toward zero; the last 35 samples (all of them when count <= 35) stay unchanged.
 * A result outside the 16-bit range saturates instead of wrapping.
 *
 * @param samples signed 16-bit samples, overwritten; may be null when count <= 0.
 * @param count   number of samples; values <= 0 leave everything alone.
 */
void PreFilter(int16_t* samples, int count);

} // namespace halvox
