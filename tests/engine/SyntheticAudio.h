#pragma once

// Deterministic test recordings for the engine front-end tests: nothing here depends on a sound card or a
// file, and every generator is seeded, so a failing case replays exactly.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

namespace halvox::testaudio {

inline constexpr double kRate = 11025.0;

using Samples = std::vector<int16_t>;

inline int16_t Clip(double value)
{
    return static_cast<int16_t>(std::clamp(std::lround(value), -32768L, 32767L));
}

/// Triangle wave (period 50) plus 31-bit LCG noise, integers only; the golden script builds the same.
inline Samples GoldenSignal(int count, uint32_t seed)
{
    Samples out(count);
    uint64_t state = seed;
    for (int n = 0; n < count; ++n) {
        const int phase = n % 50;
        const int triangle = (phase < 25 ? phase : 50 - phase) * 400 - 5000;
        state = (state * 1103515245ULL + 12345ULL) % (1ULL << 31);
        const int noise = static_cast<int>((state >> 16) % 2001) - 1000;
        out[n] = static_cast<int16_t>(triangle + noise);
    }
    return out;
}

inline Samples Silence(int count)
{
    return Samples(count, 0);
}

/// Sum of sines, each {frequency in Hz, amplitude}.
struct Partial
{
    double frequency;
    double amplitude;
};

inline std::vector<double> Tones(int count, const std::vector<Partial>& partials)
{
    std::vector<double> out(count, 0.0);
    for (const Partial& p : partials) {
        for (int n = 0; n < count; ++n) {
            out[n] += p.amplitude * std::sin(2.0 * std::numbers::pi * p.frequency * n / kRate);
        }
    }
    return out;
}

/// Gaussian white noise with a fixed seed.
inline std::vector<double> Noise(int count, double sigma, uint32_t seed)
{
    std::mt19937 generator(seed);
    std::normal_distribution<double> normal(0.0, sigma);
    std::vector<double> out(count);
    for (double& value : out) {
        value = normal(generator);
    }
    return out;
}

/// Raised-cosine attack and release of `ramp` samples each, so a burst does not click.
inline std::vector<double> Shaped(std::vector<double> signal, int ramp)
{
    const int count = static_cast<int>(signal.size());
    ramp = std::min(ramp, count / 2);
    for (int n = 0; n < ramp; ++n) {
        const double gain = 0.5 - 0.5 * std::cos(std::numbers::pi * n / ramp);
        signal[n] *= gain;
        signal[count - 1 - n] *= gain;
    }
    return signal;
}

inline std::vector<double> Add(std::vector<double> a, const std::vector<double>& b)
{
    for (size_t n = 0; n < a.size() && n < b.size(); ++n) {
        a[n] += b[n];
    }
    return a;
}

/// A recording of `count` samples: `background` everywhere plus each burst placed at its first sample.
struct Placed
{
    int at;
    std::vector<double> burst;
};

inline Samples Compose(int count, const std::vector<double>& background, const std::vector<Placed>& bursts)
{
    std::vector<double> mix(count, 0.0);
    for (int n = 0; n < count && n < static_cast<int>(background.size()); ++n) {
        mix[n] = background[n];
    }
    for (const Placed& placed : bursts) {
        for (size_t n = 0; n < placed.burst.size(); ++n) {
            const size_t index = placed.at + n;
            if (index < mix.size()) {
                mix[index] += placed.burst[n];
            }
        }
    }
    Samples out(count);
    std::transform(mix.begin(), mix.end(), out.begin(), Clip);
    return out;
}

inline int Ms(double milliseconds)
{
    return static_cast<int>(milliseconds * kRate / 1000.0);
}

/// A word-like burst: partials plus noise (the noise carries the high band) with 30 ms ramps.
inline std::vector<double> Word(
    double milliseconds, const std::vector<Partial>& partials, double noiseSigma, uint32_t seed)
{
    const int count = Ms(milliseconds);
    return Shaped(Add(Tones(count, partials), Noise(count, noiseSigma, seed)), Ms(30));
}

/// Voiced partials, scaled.
inline std::vector<Partial> Voiced(double scale)
{
    return {{300, 2000 * scale}, {700, 1500 * scale}, {1200, 800 * scale}};
}

/// Voiced partials on exact bins of a 256-point transform, so that they leak nothing into the high band.
inline std::vector<Partial> VoicedOnBins(double scale)
{
    return {{7 * kRate / 256, 2000 * scale}, {16 * kRate / 256, 1500 * scale}, {28 * kRate / 256, 800 * scale}};
}

/// The frequency at which the pre-filter has its largest gain (about 2.47).
inline constexpr double kPeakGainHz = kRate / 4;

} // namespace halvox::testaudio
