#include "Dft.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace halvox {
namespace {

using Complex = std::complex<double>;

constexpr int kLog2Size = 8;
static_assert((1 << kLog2Size) == kDftSize);

int ReverseBits(int value)
{
    int reversed = 0;
    for (int bit = 0; bit < kLog2Size; ++bit) {
        reversed = (reversed << 1) | ((value >> bit) & 1);
    }
    return reversed;
}

// Iterative radix-2 decimation in time. The twiddles are recomputed per call: 128 sine/cosine pairs cost
// little next to the butterflies, and the transform stays free of shared state.
void Transform(const double* frame, Complex* spectrum)
{
    for (int n = 0; n < kDftSize; ++n) {
        spectrum[ReverseBits(n)] = Complex(frame[n], 0.0);
    }
    Complex twiddles[kDftSize / 2];
    for (int k = 0; k < kDftSize / 2; ++k) {
        const double angle = -2.0 * std::numbers::pi * k / kDftSize;
        twiddles[k] = Complex(std::cos(angle), std::sin(angle));
    }
    for (int span = 2; span <= kDftSize; span *= 2) {
        const int half = span / 2;
        const int twiddleStep = kDftSize / span;
        for (int blockStart = 0; blockStart < kDftSize; blockStart += span) {
            for (int k = 0; k < half; ++k) {
                const Complex odd = twiddles[k * twiddleStep] * spectrum[blockStart + k + half];
                const Complex even = spectrum[blockStart + k];
                spectrum[blockStart + k] = even + odd;
                spectrum[blockStart + k + half] = even - odd;
            }
        }
    }
}

} // namespace

void Dft256Magnitudes(const double* frame, double* magnitudes)
{
    Complex spectrum[kDftSize];
    Transform(frame, spectrum);
    for (int k = 0; k < kDftBins; ++k) {
        magnitudes[k] = std::abs(spectrum[k]);
    }
}

void Dft256Power(const double* frame, double* power)
{
    Complex spectrum[kDftSize];
    Transform(frame, spectrum);
    for (int k = 0; k < kDftBins; ++k) {
        power[k] = std::norm(spectrum[k]);
    }
}

double SumBins(const double* magnitudes, int first, int last)
{
    double sum = 0.0;
    for (int k = std::max(first, 0); k <= std::min(last, kDftBins - 1); ++k) {
        sum += magnitudes[k];
    }
    return sum;
}

} // namespace halvox
