#include "PlpFrontEnd.h"

#include "Dft.h"
#include "EngineLog.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace halvox {
namespace {

constexpr double kSampleRate = 11025.0;
constexpr int kWindowPoints = 220; // trunc(11025 * 20 ms)
constexpr int kStepPoints = 110; // trunc(11025 * 10 ms)
constexpr int kBandCount = 19; // ceil(Nyquist in Bark) + 1
constexpr int kFirstBand = 1; // one edge band is skipped at each end
constexpr int kLastBand = kBandCount - 2;
constexpr int kLpcOrder = 12;
constexpr double kLifterExponent = 0.6;
constexpr double kCompressionExponent = 0.33;
constexpr double kDeltaScale = 0.25;
constexpr char kGainWarning[] = "Warning: inaccuracy of calculation -> using last frame";

double HertzToBark(double hertz)
{
    return 6.0 * std::asinh(hertz / 600.0);
}

double BarkToHertz(double bark)
{
    return 600.0 * std::sinh(bark / 6.0);
}

struct Band
{
    int firstBin = 0;
    int lastBin = -1;
    std::vector<double> weights; // one per bin firstBin ... lastBin
    double loudness = 0.0;
};

// Everything about the analysis that does not depend on the signal.
struct PlpTables
{
    std::array<double, kWindowPoints> window {};
    std::array<Band, kBandCount> bands {};
    // cosines[m][j]: weight of band j in autocorrelation lag m of the inverse cosine transform.
    std::array<std::array<double, kBandCount>, kLpcOrder + 1> cosines {};
};

// Trapezoidal approximation of the critical-band masking curve; d is the distance in Bark from the centre.
double MaskingWeight(double d)
{
    if (d <= -0.5) {
        return std::pow(10.0, d + 0.5);
    }
    if (d >= 0.5) {
        return std::pow(10.0, -2.5 * (d - 0.5));
    }
    return 1.0;
}

// Equal-loudness pre-emphasis at the band's centre frequency.
double LoudnessWeight(double centreBark)
{
    const double q = std::pow(BarkToHertz(centreBark), 2);
    return std::pow(q / (q + 1.6e5), 2) * (q + 1.44e6) / (q + 9.61e6);
}

Band MakeBand(int index, double bandSpacing)
{
    const double binsPerHertz = (kDftSize / 2) / (kSampleRate / 2);
    const double centre = index * bandSpacing;
    Band band;
    // nearbyint follows the default rounding mode: halves to even.
    band.firstBin = std::max(0, static_cast<int>(std::nearbyint(binsPerHertz * BarkToHertz(centre - 2.5))));
    band.lastBin = std::min(kDftBins - 1, static_cast<int>(std::nearbyint(binsPerHertz * BarkToHertz(centre + 1.3))));
    for (int k = band.firstBin; k <= band.lastBin; ++k) {
        band.weights.push_back(MaskingWeight(HertzToBark(k / binsPerHertz) - centre));
    }
    band.loudness = LoudnessWeight(centre);
    return band;
}

PlpTables BuildTables()
{
    PlpTables tables;
    for (int n = 0; n < kWindowPoints; ++n) {
        tables.window[n] = 0.54 - 0.46 * std::cos(2.0 * std::numbers::pi * n / (kWindowPoints - 1));
    }
    const double bandSpacing = HertzToBark(kSampleRate / 2) / (kBandCount - 1);
    for (int i = kFirstBand; i <= kLastBand; ++i) {
        tables.bands[i] = MakeBand(i, bandSpacing);
    }
    const int lastBand = kBandCount - 1;
    for (int m = 0; m <= kLpcOrder; ++m) {
        for (int j = 0; j < kBandCount; ++j) {
            const bool edge = j == 0 || j == lastBand;
            const double factor = edge ? 1.0 : 2.0;
            tables.cosines[m][j] = factor * std::cos(std::numbers::pi * m * j / lastBand);
        }
    }
    return tables;
}

const PlpTables& Tables()
{
    static const PlpTables tables = BuildTables();
    return tables;
}

using Cepstra = std::array<double, kPlpCepstra>;

// Compressed, loudness-weighted critical-band spectrum of one frame (bands 0 ... 18).
std::array<double, kBandCount> AuditorySpectrum(const PlpTables& tables, const int16_t* frame)
{
    std::array<double, kDftSize> padded {};
    for (int n = 0; n < kWindowPoints; ++n) {
        padded[n] = frame[n] * tables.window[n];
    }
    double power[kDftBins];
    Dft256Power(padded.data(), power);

    std::array<double, kBandCount> spectrum {};
    for (int i = kFirstBand; i <= kLastBand; ++i) {
        const Band& band = tables.bands[i];
        double sum = 0.0;
        for (int k = band.firstBin; k <= band.lastBin; ++k) {
            sum += band.weights[k - band.firstBin] * power[k];
        }
        spectrum[i] = std::pow(sum * band.loudness, kCompressionExponent);
    }
    // The edge bands copy their neighbours after compression; before it the 0 Hz band would weigh 0.
    spectrum[0] = spectrum[kFirstBand];
    spectrum[kBandCount - 1] = spectrum[kLastBand];
    return spectrum;
}

std::array<double, kLpcOrder + 1> BandAutocorrelation(
    const PlpTables& tables, const std::array<double, kBandCount>& spectrum)
{
    std::array<double, kLpcOrder + 1> r {};
    const double norm = 2.0 * (kBandCount - 1);
    for (int m = 0; m <= kLpcOrder; ++m) {
        double sum = 0.0;
        for (int j = 0; j < kBandCount; ++j) {
            sum += tables.cosines[m][j] * spectrum[j];
        }
        r[m] = sum / norm;
    }
    return r;
}

// Levinson recursion in error-filter form (A(z) = 1 + a_1 z^-1 + ...); returns the prediction error.
double ErrorFilter(const std::array<double, kLpcOrder + 1>& r, std::array<double, kLpcOrder + 1>& a)
{
    a.fill(0.0);
    a[0] = 1.0;
    double reflection = -r[1] / r[0];
    a[1] = reflection;
    double error = r[0] + reflection * r[1];
    for (int i = 2; i <= kLpcOrder; ++i) {
        double acc = 0.0;
        for (int j = 0; j < i; ++j) {
            acc += r[i - j] * a[j];
        }
        reflection = -acc / error;
        const std::array<double, kLpcOrder + 1> previous = a;
        for (int j = 1; j < i; ++j) {
            a[j] = previous[j] + reflection * previous[i - j];
        }
        a[i] = reflection;
        error -= error * reflection * reflection;
    }
    return error;
}

// Gain-normalised LPC to liftered cepstra; false when the gain is not positive (or not a number).
bool FrameCepstra(const PlpTables& tables, const int16_t* frame, Cepstra& out)
{
    std::array<double, kLpcOrder + 1> a {};
    const double gain = ErrorFilter(BandAutocorrelation(tables, AuditorySpectrum(tables, frame)), a);
    if (!(gain > 0.0)) {
        return false;
    }
    for (double& coefficient : a) {
        coefficient /= gain;
    }
    Cepstra c {};
    c[0] = -std::log(a[0]);
    c[1] = -a[1] / a[0];
    for (int n = 2; n <= kLpcOrder; ++n) {
        double sum = n * a[n];
        for (int m = 1; m < n; ++m) {
            sum += (n - m) * a[m] * c[n - m];
        }
        c[n] = -sum / (n * a[0]);
    }
    out[0] = c[0];
    for (int n = 1; n < kPlpCepstra; ++n) {
        out[n] = std::pow(static_cast<double>(n), kLifterExponent) * c[n];
    }
    return true;
}

// The edge rules are tested in this order, so for very short utterances an earlier rule wins; frames
// outside the utterance read as zero.
double Delta(const std::vector<Cepstra>& cepstra, int t, int coefficient)
{
    const int frames = static_cast<int>(cepstra.size());
    const auto c = [&](int index) { return index >= 0 && index < frames ? cepstra[index][coefficient] : 0.0; };
    if (t == 0) {
        return kDeltaScale * c(0);
    }
    if (t == 1) {
        return kDeltaScale * (c(2) - c(0));
    }
    if (t == 2) {
        return kDeltaScale * (-2.0 * c(0) - c(1) + c(3) + 2.0 * c(4));
    }
    if (t == frames - 3) {
        return kDeltaScale * (-2.0 * c(t - 2) - c(t - 1) + c(t + 1) + 2.0 * c(t + 2));
    }
    if (t == frames - 2) {
        return kDeltaScale * (c(t + 1) - c(t - 1));
    }
    if (t == frames - 1) {
        return kDeltaScale * c(t);
    }
    double sum = 0.0;
    for (int k = -3; k <= 3; ++k) {
        sum += k * c(t + k);
    }
    return kDeltaScale * sum;
}

} // namespace

int PlpFrameCount(int count)
{
    const long long frames = (static_cast<long long>(count) + kStepPoints - kWindowPoints) / kStepPoints;
    return static_cast<int>(std::max(frames, 0LL));
}

std::vector<float> ComputePlpFeatures(const int16_t* samples, int count)
{
    const int frames = samples == nullptr ? 0 : PlpFrameCount(count);
    if (frames == 0) {
        return {};
    }
    const PlpTables& tables = Tables();
    std::vector<Cepstra> cepstra(frames);
    Cepstra last {};
    for (int t = 0; t < frames; ++t) {
        if (FrameCepstra(tables, samples + static_cast<size_t>(t) * kStepPoints, cepstra[t])) {
            last = cepstra[t];
        } else {
            cepstra[t] = last;
            LogLine(kGainWarning);
        }
    }
    std::vector<float> features(static_cast<size_t>(frames) * kPlpVectorSize);
    for (int t = 0; t < frames; ++t) {
        float* row = features.data() + static_cast<size_t>(t) * kPlpVectorSize;
        for (int n = 0; n < kPlpCepstra; ++n) {
            row[n] = static_cast<float>(cepstra[t][n]);
            row[kPlpCepstra + n] = static_cast<float>(Delta(cepstra, t, n));
        }
    }
    return features;
}

} // namespace halvox
