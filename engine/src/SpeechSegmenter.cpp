#include "SpeechSegmenter.h"

#include "Dft.h"
#include "PreFilter.h"

#include <algorithm>
#include <vector>

namespace halvox {
namespace {

constexpr int kHop = kDftSize / 2;
constexpr int kWidenFrames = 4;
constexpr int kNoiseWindowFrames = 40;
constexpr double kNoiseLimit = 3300.0;
constexpr double kHighBandMinimum = 1000.0;

constexpr int kLowBandFirst = 10, kLowBandLast = 29;
constexpr int kRatioBandFirst = 90, kRatioBandLast = 109;
constexpr int kSpeechBandFirst = 100, kSpeechBandLast = 119;
constexpr int kNoiseBandFirst = 115, kNoiseBandLast = 124;

constexpr int kTrimSpan = 10; // frames summed on each side of the comparison
constexpr int kTrimLag = 5; // the earlier sum starts this many frames back
constexpr double kTrimRise = 5.0; // the later sum must exceed the earlier one this many times
constexpr double kTrimFloor = 0.6; // the search never goes below this share of the frames
constexpr int kTrimStep = 5; // backwards step of the search, and the margin added to its result

// 256 samples from `first`, reading 0 outside 0 ... count - 1.
void LoadFrame(const int16_t* samples, int count, long long first, double* frame)
{
    for (int n = 0; n < kDftSize; ++n) {
        const long long index = first + n;
        frame[n] = (samples != nullptr && index >= 0 && index < count) ? samples[index] : 0.0;
    }
}

int FrameCountFitting(int length)
{
    return length >= kDftSize ? (length - kDftSize) / kHop + 1 : 0;
}

double RatioAt(const std::vector<float>& ratios, int index)
{
    return index >= 0 && index < static_cast<int>(ratios.size()) ? ratios[index] : 0.0;
}

double SumRatios(const std::vector<float>& ratios, int from, int count)
{
    double sum = 0.0;
    for (int q = 0; q < count; ++q) {
        sum += RatioAt(ratios, from - q);
    }
    return sum;
}

EndpointResult Widen(EndpointResult word, int frames)
{
    word.start = word.start > kWidenFrames ? word.start - kWidenFrames : 0;
    word.end = word.end < frames - 7 ? word.end + kWidenFrames : frames - 3;
    return word;
}

// The background next to the word: before it when there is room, else after it, else the recording's start.
// Only the part inside the recording is analysed, so odd framing cannot make the window reach far beyond it.
double NoiseAroundWord(const int16_t* filtered, int count, const EndpointResult& word, int frames, int shift)
{
    long long firstFrame = 0;
    if (word.start > kNoiseWindowFrames) {
        firstFrame = word.start - kNoiseWindowFrames;
    } else if (word.end < frames - kNoiseWindowFrames) {
        firstFrame = word.end;
    }
    const long long first = firstFrame * shift;
    const long long length = std::min(static_cast<long long>(kNoiseWindowFrames) * shift, count - first);
    return BackgroundHighBandLevel(filtered, count, first, static_cast<int>(std::max(length, 0LL)));
}

// The word's length in whole frames, shortened to what the speech buffer holds and the recording has.
int SegmentFrames(const EndpointResult& word, int shift, int capacity, int count)
{
    const long long firstSample = static_cast<long long>(word.start) * shift;
    const long long available = std::max(count - firstSample, 0LL) / shift;
    const long long fitting = std::max(capacity, 0) / shift;
    return static_cast<int>(std::min({static_cast<long long>(std::max(word.end - word.start, 0)), available, fitting}));
}

} // namespace

SpeechBandAnalysis AnalyseSpeechBands(const int16_t* speech, int count)
{
    SpeechBandAnalysis analysis;
    analysis.frames = std::max(count, 0) / kHop;
    analysis.ratios.resize(analysis.frames);
    double total = 0.0;
    double frame[kDftSize];
    double magnitudes[kDftBins];
    for (int j = 0; j < analysis.frames; ++j) {
        LoadFrame(speech, count, static_cast<long long>(j) * kHop, frame);
        Dft256Magnitudes(frame, magnitudes);
        const double low = SumBins(magnitudes, kLowBandFirst, kLowBandLast);
        const double high = SumBins(magnitudes, kRatioBandFirst, kRatioBandLast);
        total += SumBins(magnitudes, kSpeechBandFirst, kSpeechBandLast);
        // A silent frame gives 0/0; the NaN fails every comparison of the end search, as it should.
        analysis.ratios[j] = static_cast<float>(static_cast<double>(j) * j * high / low);
    }
    analysis.highBandLevel = total / std::max(analysis.frames - 1, 1);
    return analysis;
}

int RefinedEndOffset(const std::vector<float>& ratios)
{
    const int frames = static_cast<int>(ratios.size());
    const int last = frames - 1;
    int off = last;
    bool found = false;
    while (off > 0) {
        const double later = SumRatios(ratios, off, kTrimSpan);
        const double earlier = SumRatios(ratios, off - kTrimLag, kTrimSpan);
        if (later > kTrimRise * earlier) {
            found = true;
            break;
        }
        if (off > kTrimFloor * frames) {
            off -= kTrimStep;
        } else {
            break;
        }
    }
    if (!found) {
        off = last;
    }
    if (off <= last - kTrimStep) {
        off += kTrimStep;
    }
    return std::max(off, 0);
}

double BackgroundHighBandLevel(const int16_t* filtered, int count, long long first, int length)
{
    const int frames = FrameCountFitting(length);
    if (frames == 0) {
        return 0.0;
    }
    double total = 0.0;
    double frame[kDftSize];
    double magnitudes[kDftBins];
    for (int j = 0; j < frames; ++j) {
        LoadFrame(filtered, count, first + static_cast<long long>(j) * kHop, frame);
        Dft256Magnitudes(frame, magnitudes);
        total += SumBins(magnitudes, kNoiseBandFirst, kNoiseBandLast);
    }
    return total / frames;
}

SegmentResult SegmentSpeech(
    int16_t* samples, int count, const SegmentRequest& request, int16_t* speech, int speechCapacity, int* speechCount)
{
    const std::vector<int16_t> unfiltered(samples, samples + (samples != nullptr ? std::max(count, 0) : 0));
    PreFilter(samples, count);

    EndpointResult word = DetectEndpoints(samples, count, request.params);
    if (word.error != kEndpointAccepted) {
        return {0, word.error, word.start, word.end, 0.0};
    }
    const int shift = request.params.frameShift;
    const int frames = EndpointFrameCount(count, request.params);
    int error = kEndpointAccepted;
    if (request.enrolment) {
        word = Widen(word, frames);
        if (NoiseAroundWord(samples, count, word, frames, shift) > kNoiseLimit) {
            error = kEndpointNoisyBackground;
        }
    }

    const int capacity = speech != nullptr ? speechCapacity : 0;
    word.end = word.start + SegmentFrames(word, shift, capacity, count);
    const long long firstSample = static_cast<long long>(word.start) * shift;
    const int copied = (word.end - word.start) * shift;
    std::copy_n(unfiltered.begin() + firstSample, copied, speech);

    const SpeechBandAnalysis bands = AnalyseSpeechBands(speech, copied);
    if (request.trimEnd) {
        const int refined = word.start + RefinedEndOffset(bands.ratios) * kHop / shift;
        word.end = std::min(word.end, refined);
    }
    if (speechCount != nullptr) {
        *speechCount = (word.end - word.start) * shift;
    }
    if (request.enrolment && bands.highBandLevel <= kHighBandMinimum) {
        error = kEndpointNoHighBand;
    }
    return {1, error, word.start, word.end, bands.highBandLevel};
}

} // namespace halvox
