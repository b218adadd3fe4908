#include "EndpointDetector.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace halvox {
namespace {

constexpr int kFirstLevelFrame = 4;
constexpr int kMarginFrames = 5; // frames at the end that are never evaluated
constexpr int kFrameStep = 2; // only even frames are evaluated

constexpr double kOnsetRise = 2.25;
constexpr double kOnsetConfirmRise = 2.55;
constexpr double kEndFall = 1.85;
constexpr double kEndMoveRise = 1.35;
constexpr double kWalkBackRise = 2.25;
constexpr double kBurstArm = 1.8;
constexpr double kBurstConfirm = 1.6;
constexpr double kMinimumLevel = 20.0;
constexpr double kMinimumSpeechLevel = 60.0;
constexpr double kSpeechOverBackground = 5.0;
constexpr double kLoudLevel = 10000.0;

// Level lookup that reads 0 for every frame the detector never evaluated, negative indices included.
class Levels
{
public:
    explicit Levels(std::vector<double> levels)
        : m_levels(std::move(levels))
    {
    }

    double operator[](long long frame) const
    {
        return frame >= 0 && frame < static_cast<long long>(m_levels.size()) ? m_levels[frame] : 0.0;
    }

    // Mean of `count` levels first, first + 2, ..., summed in that order.
    double Mean(long long first, int count) const
    {
        double sum = 0.0;
        for (int q = 0; q < count; ++q) {
            sum += (*this)[first + static_cast<long long>(kFrameStep) * q];
        }
        return sum / count;
    }

    // start + levels last, last - 2, ... (`count` of them), summed in that order.
    double AddDescending(double start, long long last, int count) const
    {
        double sum = start;
        for (int q = 0; q < count; ++q) {
            sum += (*this)[last - static_cast<long long>(kFrameStep) * q];
        }
        return sum;
    }

private:
    std::vector<double> m_levels;
};

struct DetectorState
{
    int frames = 0; // N
    int start = kUnplacedStart;
    int end = 0;
    bool startPlaced = false;
    bool endPlaced = false;
    bool startConfirmed = false;
    bool endConfirmed = false;
    double noise = 0.0;
    double peak = 0.0;
    bool burstArmed = false;
    int burstFrame = 0;
    int restartOffset = 0;

    void ForgetWord()
    {
        startConfirmed = endConfirmed = false;
        startPlaced = endPlaced = false;
        start = kUnplacedStart;
        end = frames - kMarginFrames;
    }
};

// Places the onset where a frame rises well above the recent levels, then confirms it 12 frames later
// or steps back to look again. May move i back (the caller's loop variable).
void SearchOnset(const Levels& e, DetectorState& s, int& i)
{
    if (!s.startPlaced) {
        if (i > kFirstLevelFrame) {
            const int first = i <= 16 ? kFirstLevelFrame : i - 12;
            const double recent = e.Mean(first, (i - first) / kFrameStep);
            if (e[i] > kOnsetRise * recent) {
                s.start = i;
                s.startPlaced = true;
                s.noise = recent;
            }
        }
    } else if (i == s.start + 12) {
        const double onset = e.Mean(s.start + 2, 6);
        if (onset < kOnsetConfirmRise * s.noise || onset < kMinimumLevel) {
            i -= 10;
            s.start = kUnplacedStart;
            s.startPlaced = false;
        } else {
            s.startConfirmed = true;
        }
    }
    s.peak = std::max(s.peak, e[i]);
}

// Backs the end up while the levels before it still stand well above those at the current frame.
int WalkBackEnd(const Levels& e, const DetectorState& s, int i, double recent)
{
    int j = s.end;
    double a = recent;
    double b = s.noise;
    int pass = 0;
    do {
        // The carried value joins the 15 new levels and the sum is still divided by 15; this weighting
        // is what trained models were endpointed with.
        a = e.AddDescending(a, static_cast<long long>(i) - 2LL * pass, 15) / 15;
        b = e.AddDescending(b, j, 15) / 15;
        j -= kFrameStep;
        ++pass;
    } while (b < kWalkBackRise * a && j > s.start + 30);
    return j;
}

void SearchEnd(const Levels& e, DetectorState& s, int i)
{
    if (!s.endPlaced) {
        if (i > s.start + 34) {
            const double recent = e.Mean(i - 32, 17);
            if (recent < kEndFall * s.noise || recent < kMinimumLevel) {
                s.end = i - 34;
                s.endPlaced = true;
            }
        }
    } else if (i >= s.end + 30) {
        const double recent = e.Mean(i - 28, 15);
        if (e[s.end] > kEndMoveRise * recent) {
            s.end += kFrameStep;
            s.noise = recent;
        } else {
            s.end = WalkBackEnd(e, s, i, recent);
            s.endConfirmed = true;
        }
    }
    s.peak = std::max(s.peak, e[i]);
}

// A sound much louder than anything of the word, after its end, means the word was a click: the word is
// forgotten and the search resumes after it. May move i (the caller's loop variable).
void CheckBurst(const Levels& e, DetectorState& s, int& i)
{
    if (e[i] > kBurstArm * s.peak) {
        s.burstArmed = true;
        s.burstFrame = i;
    }
    if (s.burstArmed && i == s.burstFrame + 4) {
        if (e.Mean(s.burstFrame - 4, 5) > kBurstConfirm * s.peak) {
            i = s.end + s.restartOffset;
            s.restartOffset += kFrameStep;
            s.ForgetWord();
        } else {
            s.burstArmed = false;
        }
    }
}

void RunDetector(const Levels& e, DetectorState& s)
{
    const int lastFrame = s.frames - kMarginFrames;
    int i = kFirstLevelFrame;
    do {
        i = std::max(i, kFirstLevelFrame);
        if (!s.startConfirmed) {
            SearchOnset(e, s, i);
        }
        if (s.startConfirmed && !s.endConfirmed) {
            SearchEnd(e, s, i);
        }
        CheckBurst(e, s, i);
        i += kFrameStep;
    } while (i < lastFrame);
}

int JudgeWord(const Levels& e, const DetectorState& s, const EndpointParams& params)
{
    const int length = s.end - s.start;
    if (length < params.minFrames || length > params.maxFrames) {
        return kEndpointBadLength;
    }
    double speechSum = 0.0;
    double backgroundSum = 0.0;
    int speechCount = 0;
    int backgroundCount = 0;
    for (int k = kFirstLevelFrame; k < s.frames - kMarginFrames; k += kFrameStep) {
        if (k >= s.start && k <= s.end) {
            speechSum += e[k];
            ++speechCount;
        } else {
            backgroundSum += e[k];
            ++backgroundCount;
        }
    }
    // An empty side counts as level 0: a word without evaluated frames is too weak, and a recording
    // without background cannot be judged against it.
    const double speechMean = speechCount > 0 ? speechSum / speechCount : 0.0;
    const double backgroundMean = backgroundCount > 0 ? backgroundSum / backgroundCount : 0.0;
    if (speechMean < kMinimumSpeechLevel || speechMean < kSpeechOverBackground * backgroundMean) {
        return kEndpointTooWeak;
    }
    for (int k = s.start + 2; k < s.end - 2; k += kFrameStep) {
        if ((e[k - 2] + e[k] + e[k + 2]) / 3 > kLoudLevel) {
            return kEndpointTooLoud;
        }
    }
    return kEndpointAccepted;
}

bool HasUsableFraming(const EndpointParams& params)
{
    return params.frameShift > 0 && params.windowLength > 0;
}

} // namespace

int EndpointFrameCount(int count, const EndpointParams& params)
{
    return HasUsableFraming(params) && count > 0 ? count / params.frameShift : 0;
}

bool IsTooShortForDetection(int count, const EndpointParams& params)
{
    const long long needed = 11LL * params.frameShift + params.windowLength;
    return count < needed;
}

std::vector<double> EvenFrameLevels(const int16_t* filtered, int count, const EndpointParams& params)
{
    const int frames = filtered == nullptr ? 0 : EndpointFrameCount(count, params);
    std::vector<double> levels(frames, 0.0);
    for (int i = kFirstLevelFrame; i < frames - kMarginFrames; i += kFrameStep) {
        const long long first = static_cast<long long>(i) * params.frameShift;
        const long long last = std::min<long long>(first + params.windowLength, count);
        double sum = 0.0;
        for (long long n = first; n < last; ++n) {
            sum += std::abs(static_cast<int>(filtered[n]));
        }
        levels[i] = sum / params.windowLength;
    }
    return levels;
}

EndpointResult DetectEndpoints(const int16_t* filtered, int count, const EndpointParams& params)
{
    DetectorState state;
    state.frames = EndpointFrameCount(count, params);
    state.ForgetWord();
    if (filtered == nullptr || !HasUsableFraming(params) || IsTooShortForDetection(count, params)) {
        return {kEndpointBadLength, state.start, state.end};
    }
    const Levels levels(EvenFrameLevels(filtered, count, params));
    RunDetector(levels, state);
    return {JudgeWord(levels, state, params), state.start, state.end};
}

} // namespace halvox
