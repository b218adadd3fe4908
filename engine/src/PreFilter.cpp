#include "PreFilter.h"

#include <cmath>
#include <limits>

namespace halvox {
namespace {

// The even taps of an antisymmetric 35-tap band-pass (odd taps are zero): zeros at 0 Hz and at half the
// sample rate, peak gain about 2.47 at a quarter of the sample rate. They sum to exactly zero, so a
// constant level is removed.
constexpr int kTapCount = 18;
constexpr double kTaps[kTapCount] = {1.13639e-05, 2.27278e-05, 5.96604e-05, 0.000127844, 0.000252846, 0.000553989,
    0.000991499, 0.002440395, 1.236285675, -1.236285675, -0.002440395, -0.000991499, -0.000553989, -0.000252846,
    -0.000127844, -5.96604e-05, -2.27278e-05, -1.13639e-05};
constexpr int kTapStride = 2;

int16_t TruncateToSample(double value)
{
    // A near-full-scale tone at the filter's peak frequency can exceed the 16-bit range by a factor of
    // about 2.5; wrapping would flip its sign and fake a burst, so the value is held at the rail.
    const double truncated = std::trunc(value);
    if (truncated >= std::numeric_limits<int16_t>::max()) {
        return std::numeric_limits<int16_t>::max();
    }
    if (truncated <= std::numeric_limits<int16_t>::min()) {
        return std::numeric_limits<int16_t>::min();
    }
    return static_cast<int16_t>(truncated);
}

} // namespace

void PreFilter(int16_t* samples, int count)
{
    if (samples == nullptr || count <= kPreFilterTail) {
        return;
    }
    // Every tap reads at or after k, so overwriting x[k] in increasing order never disturbs a later input.
    const int lastFiltered = count - kPreFilterTail - 1;
    for (int k = 0; k <= lastFiltered; ++k) {
        double sum = 0.0;
        for (int j = 0; j < kTapCount; ++j) {
            sum += kTaps[j] * samples[k + kTapStride * j];
        }
        samples[k] = TruncateToSample(sum);
    }
}

} // namespace halvox
