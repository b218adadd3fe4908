#include "voice/ReadingFingerprint.h"

#include <algorithm>
#include <cmath>

namespace talk::voice {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kLevelWindow = 256;
constexpr int kPitchWindow = 256;
constexpr double kMarginSeconds = 0.06;
constexpr double kLowCutHz = 400.0;
constexpr double kHighCutHz = 3200.0;
constexpr double kLevelLowHz = 1000.0;
constexpr double kLowestPitchHz = 65.0;
constexpr double kHighestPitchHz = 420.0;
constexpr double kPitchFloorHz = 50.0;
constexpr int kLevelSteps = 160; // quarter decibels: 40 dB
constexpr double kVoicedCorrelation = 0.45;
constexpr double kVoicedWithinDb = 25.0;
constexpr int kMinFrames = 10;
constexpr int kMinVoicedPairs = 8;
constexpr uint8_t kFormatVersion = 1;

// Scales of the distance's two parts, each counting as one unit: a 2 % stretch and 10 cents (0.6 %) of
// pitch. Replays through the loudspeaker chains we measured mostly stay well within both; two readings
// by one voice differ by more in at least one (docs/accuracy.md, "Captured-unlock rejection"). The
// spread of the pitch differences is left out: echo and clipping move it as much as a new reading does.
constexpr double kStretchUnit = 0.02;
constexpr double kPitchUnitCents = 10.0;
// Weights of the alignment's cost: 10 cents of spread count as much as 0.1 of correlation of the rises.
constexpr double kAlignSpreadCents = 10.0;
constexpr double kAlignRiseUnit = 0.1;

struct Biquad
{
    double b0, b1, b2, a1, a2;
    double z1 = 0.0, z2 = 0.0;

    double Step(double x) noexcept
    {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

Biquad Butterworth(double cutHz, int rate, bool highPass) noexcept
{
    const double w = 2.0 * kPi * cutHz / rate;
    const double alpha = std::sin(w) / (2.0 * std::sqrt(0.5));
    const double c = std::cos(w);
    const double a0 = 1.0 + alpha;
    Biquad f {};
    if (highPass) {
        f.b0 = (1.0 + c) / 2.0 / a0;
        f.b1 = -(1.0 + c) / a0;
    } else {
        f.b0 = (1.0 - c) / 2.0 / a0;
        f.b1 = (1.0 - c) / a0;
    }
    f.b2 = f.b0;
    f.a1 = -2.0 * c / a0;
    f.a2 = (1.0 - alpha) / a0;
    return f;
}

// The reading limited to a band between `lowHz` and `highHz`.
std::vector<double> BandLimited(const int16_t* samples, int count, int rate, double lowHz, double highHz)
{
    Biquad stages[] = {Butterworth(lowHz, rate, true), Butterworth(lowHz, rate, true), Butterworth(highHz, rate, false),
        Butterworth(highHz, rate, false)};
    std::vector<double> out(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        double x = samples[i];
        for (Biquad& stage : stages)
            x = stage.Step(x);
        out[static_cast<size_t>(i)] = x;
    }
    return out;
}

// Pitch of the frame starting at `start` in Hz, 0 when it is not voiced.
double FramePitch(const std::vector<double>& x, long start, int rate)
{
    const int shortest = static_cast<int>(rate / kHighestPitchHz);
    const int longest = static_cast<int>(rate / kLowestPitchHz);
    if (start < 0 || start + kPitchWindow + longest + 1 >= static_cast<long>(x.size()))
        return 0.0;
    const double* s = x.data() + start;
    double e0 = 0.0;
    for (int n = 0; n < kPitchWindow; ++n)
        e0 += s[n] * s[n];
    if (e0 <= 0.0)
        return 0.0;
    std::vector<double> r(static_cast<size_t>(longest + 2), 0.0);
    double eLag = 0.0;
    for (int n = 0; n < kPitchWindow; ++n)
        eLag += s[n + shortest - 1] * s[n + shortest - 1];
    for (int lag = shortest - 1; lag <= longest + 1; ++lag) {
        if (lag > shortest - 1) {
            // Slide the energy of the lagged window by one sample.
            const double out = s[lag - 1];
            const double in = s[lag + kPitchWindow - 1];
            eLag += in * in - out * out;
        }
        double sum = 0.0;
        for (int n = 0; n < kPitchWindow; ++n)
            sum += s[n] * s[n + lag];
        r[static_cast<size_t>(lag)] = eLag > 0.0 ? sum / std::sqrt(e0 * eLag) : 0.0;
    }
    int best = shortest;
    for (int lag = shortest; lag <= longest; ++lag)
        if (r[static_cast<size_t>(lag)] > r[static_cast<size_t>(best)])
            best = lag;
    // A peak at twice the period is nearly as high as the true one: prefer the shortest strong peak.
    for (int divisor = 3; divisor >= 2; --divisor) {
        const int candidate = static_cast<int>(std::lround(static_cast<double>(best) / divisor));
        if (candidate < shortest)
            continue;
        int local = candidate;
        for (int lag = std::max(shortest, candidate - 2); lag <= std::min(longest, candidate + 2); ++lag)
            if (r[static_cast<size_t>(lag)] > r[static_cast<size_t>(local)])
                local = lag;
        if (r[static_cast<size_t>(local)] >= 0.9 * r[static_cast<size_t>(best)]) {
            best = local;
            break;
        }
    }
    const double peak = r[static_cast<size_t>(best)];
    if (peak < kVoicedCorrelation)
        return 0.0;
    const double left = r[static_cast<size_t>(best - 1)];
    const double right = r[static_cast<size_t>(best + 1)];
    const double bend = left - 2.0 * peak + right;
    const double shift = bend < 0.0 ? std::clamp(0.5 * (left - right) / bend, -0.5, 0.5) : 0.0;
    return rate / (best + shift);
}

// Value of contour `c` at fractional frame `j` (linear between frames).
double At(const std::vector<double>& c, double j)
{
    const auto i = static_cast<size_t>(j);
    const double t = j - static_cast<double>(i);
    return i + 1 < c.size() ? c[i] * (1.0 - t) + c[i + 1] * t : c[i];
}

// Correlation of a[i] with b[scale * i + offset] over the frames where both exist; -1 when they
// overlap on less than half of the shorter one.
double AlignedCorrelation(const std::vector<double>& a, const std::vector<double>& b, double scale, double offset)
{
    const double lastB = static_cast<double>(b.size() - 1);
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double j = scale * static_cast<double>(i) + offset;
        if (j < 0.0 || j > lastB)
            continue;
        const double x = a[i];
        const double y = At(b, j);
        sa += x;
        sb += y;
        saa += x * x;
        sbb += y * y;
        sab += x * y;
        ++n;
    }
    if (n < static_cast<int>(std::min(a.size(), b.size()) / 2) || n < kMinFrames)
        return -1.0;
    const double va = saa - sa * sa / n;
    const double vb = sbb - sb * sb / n;
    if (va <= 0.0 || vb <= 0.0)
        return -1.0;
    return (sab - sa * sb / n) / std::sqrt(va * vb);
}

// Pitch differences a - b over the frames voiced in both under the alignment.
std::vector<double> PitchDifferences(
    const ReadingFingerprint& a, const ReadingFingerprint& b, double scale, double offset)
{
    std::vector<double> out;
    const double lastB = static_cast<double>(b.pitch.size() - 1);
    for (size_t i = 0; i < a.pitch.size(); ++i) {
        const double j = scale * static_cast<double>(i) + offset;
        if (a.pitch[i] == 0 || j < 0.0 || j > lastB)
            continue;
        const auto k = static_cast<size_t>(j);
        const double t = j - static_cast<double>(k);
        const uint16_t left = b.pitch[k];
        const uint16_t right = k + 1 < b.pitch.size() ? b.pitch[k + 1] : left;
        if (left == 0 || right == 0)
            continue;
        // A pitch tracker sometimes lands an octave off; whole octaves say nothing about the speaker here.
        double d = std::fmod(static_cast<double>(a.pitch[i]) - (left * (1.0 - t) + right * t), 1200.0);
        if (d >= 600.0)
            d -= 1200.0;
        else if (d < -600.0)
            d += 1200.0;
        out.push_back(d);
    }
    return out;
}

double Median(std::vector<double> v)
{
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// How far the two pitch contours stay from parallel under the alignment: the median distance of the
// differences from their median, in cents. A replay keeps the source's contour; the median ignores the
// frames where one of the two took a pitch an octave off.
double PitchSpread(const std::vector<double>& differences, double median)
{
    std::vector<double> deviations;
    deviations.reserve(differences.size());
    for (double d : differences)
        deviations.push_back(std::fabs(d - median));
    return Median(std::move(deviations));
}

std::vector<double> LevelsOf(const ReadingFingerprint& p)
{
    std::vector<double> out(p.level.size());
    for (size_t i = 0; i < p.level.size(); ++i)
        out[i] = -0.25 * p.level[i];
    return out;
}

// How sharply the loudness rises at each frame. Echo lengthens every decay of the loudness contour but
// leaves its rises where they were, so the rises time a replay faithfully.
std::vector<double> OnsetsOf(const std::vector<double>& levels)
{
    std::vector<double> out(levels.size(), 0.0);
    for (size_t i = 1; i + 1 < levels.size(); ++i)
        out[i] = std::max(0.0, levels[i + 1] - levels[i - 1]);
    return out;
}

} // namespace

ReadingFingerprint ComputeFingerprint(const int16_t* samples, int count, long first, long last, int sampleRate) noexcept
{
    ReadingFingerprint print;
    if (!samples || count <= 0 || sampleRate <= 0 || last <= first)
        return print;
    try {
        const long margin = static_cast<long>(kMarginSeconds * sampleRate);
        const long from = std::max(0L, first - margin);
        const long to = std::min(static_cast<long>(count), last + margin);
        const std::vector<double> x = BandLimited(samples, count, sampleRate, kLowCutHz, kHighCutHz);
        // Loudness from the band even a phone's speaker passes, so that a replay's loudness rises where
        // its source's did.
        const std::vector<double> loud = BandLimited(samples, count, sampleRate, kLevelLowHz, kHighCutHz);
        std::vector<double> levels;
        std::vector<double> pitches;
        for (long start = from; start + kLevelWindow <= to; start += kFingerprintHop) {
            double energy = 0.0;
            for (int n = 0; n < kLevelWindow; ++n)
                energy += loud[static_cast<size_t>(start + n)] * loud[static_cast<size_t>(start + n)];
            levels.push_back(10.0 * std::log10(energy / kLevelWindow + 1.0));
            pitches.push_back(FramePitch(x, start, sampleRate));
        }
        if (static_cast<int>(levels.size()) < kMinFrames)
            return print;
        const double loudest = *std::max_element(levels.begin(), levels.end());
        print.level.resize(levels.size());
        print.pitch.resize(levels.size());
        for (size_t i = 0; i < levels.size(); ++i) {
            const double below = std::clamp(loudest - levels[i], 0.0, kLevelSteps / 4.0);
            print.level[i] = static_cast<uint8_t>(std::lround(below * 4.0));
            if (pitches[i] > 0.0 && below <= kVoicedWithinDb) {
                const double cents = 1200.0 * std::log2(pitches[i] / kPitchFloorHz);
                print.pitch[i] = static_cast<uint16_t>(std::clamp(std::lround(cents), 1L, 65535L));
            }
        }
    } catch (...) {
        print = ReadingFingerprint();
    }
    return print;
}

FingerprintMatch CompareFingerprints(const ReadingFingerprint& a, const ReadingFingerprint& b) noexcept
{
    FingerprintMatch match;
    if (a.level.size() < static_cast<size_t>(kMinFrames) || b.level.size() < static_cast<size_t>(kMinFrames)
        || a.pitch.size() != a.level.size() || b.pitch.size() != b.level.size())
        return match;
    try {
        const std::vector<double> la = OnsetsOf(LevelsOf(a));
        const std::vector<double> lb = OnsetsOf(LevelsOf(b));
        const auto voicedIn = [](const ReadingFingerprint& p) {
            return static_cast<int>(std::count_if(p.pitch.begin(), p.pitch.end(), [](uint16_t c) { return c != 0; }));
        };
        // An alignment must pair at least half of the voiced frames of the less voiced reading.
        const int minPairs = std::max(kMinVoicedPairs, std::min(voicedIn(a), voicedIn(b)) / 2);
        const double span = static_cast<double>(std::max(a.level.size(), b.level.size())) * 0.4;
        // The alignment under which the loudness rises coincide and the pitch contours run most nearly
        // parallel: first coarsely, then finely around it. Either alone misleads: echo smears the rises,
        // and a flat pitch contour fits many alignments equally well.
        double bestScale = 1.0, bestOffset = 0.0, bestCost = 1e9;
        const auto tryAlignment = [&](double scale, double offset) {
            std::vector<double> differences = PitchDifferences(a, b, scale, offset);
            if (static_cast<int>(differences.size()) < minPairs)
                return;
            const double correlation = AlignedCorrelation(la, lb, scale, offset);
            const double median = Median(differences);
            const double spread = PitchSpread(differences, median);
            const double cost = spread / kAlignSpreadCents + (1.0 - correlation) / kAlignRiseUnit;
            if (cost < bestCost) {
                bestCost = cost;
                bestScale = scale;
                bestOffset = offset;
                match.pitchCents = median;
                match.pitchSpread = spread;
                match.correlation = correlation;
                match.voicedPairs = static_cast<int>(differences.size());
            }
        };
        const int reach = static_cast<int>(span);
        for (int step = -18; step <= 22; ++step)
            for (int offset = -reach; offset <= reach; ++offset)
                tryAlignment(1.0 + 0.01 * step, offset);
        const double coarseScale = bestScale, coarseOffset = bestOffset;
        for (int step = -10; step <= 10; ++step)
            for (int quarter = -4; quarter <= 4; ++quarter)
                tryAlignment(coarseScale + 0.001 * step, coarseOffset + 0.25 * quarter);
        // Without a pitch contour to compare, nothing shows the two to be one reading.
        if (bestCost >= 1e9)
            return match;
        match.timeScale = bestScale;
        const double stretch = std::log(bestScale) / kStretchUnit;
        const double pitch = match.pitchCents / kPitchUnitCents;
        match.distance = std::sqrt(stretch * stretch + pitch * pitch);
    } catch (...) {
        match = FingerprintMatch();
    }
    return match;
}

std::string EncodeFingerprint(const ReadingFingerprint& print)
{
    const size_t frames = std::min<size_t>(print.level.size(), 0xffff);
    std::string out;
    out.reserve(3 + frames * 3);
    out.push_back(static_cast<char>(kFormatVersion));
    out.push_back(static_cast<char>(frames & 0xff));
    out.push_back(static_cast<char>(frames >> 8));
    for (size_t i = 0; i < frames; ++i)
        out.push_back(static_cast<char>(print.level[i]));
    for (size_t i = 0; i < frames; ++i) {
        const uint16_t p = i < print.pitch.size() ? print.pitch[i] : 0;
        out.push_back(static_cast<char>(p & 0xff));
        out.push_back(static_cast<char>(p >> 8));
    }
    return out;
}

bool DecodeFingerprint(const std::string& bytes, std::size_t& offset, ReadingFingerprint& print)
{
    if (offset + 3 > bytes.size() || static_cast<uint8_t>(bytes[offset]) != kFormatVersion)
        return false;
    const size_t frames
        = static_cast<uint8_t>(bytes[offset + 1]) | (static_cast<size_t>(static_cast<uint8_t>(bytes[offset + 2])) << 8);
    if (bytes.size() - offset - 3 < frames * 3)
        return false;
    const char* p = bytes.data() + offset + 3;
    print.level.assign(reinterpret_cast<const uint8_t*>(p), reinterpret_cast<const uint8_t*>(p) + frames);
    print.pitch.resize(frames);
    for (size_t i = 0; i < frames; ++i) {
        const auto lo = static_cast<uint8_t>(p[frames + 2 * i]);
        const auto hi = static_cast<uint8_t>(p[frames + 2 * i + 1]);
        print.pitch[i] = static_cast<uint16_t>(lo | (hi << 8));
    }
    offset += 3 + frames * 3;
    return true;
}

} // namespace talk::voice
