#pragma once

#include "EndpointDetector.h"

#include <cstdint>
#include <vector>

namespace halvox {

/// How one recording is to be segmented.
struct SegmentRequest
{
    bool enrolment = false; ///< widen the word and run the background-noise and high-band checks
    bool trimEnd = false; ///< refine the word's end by its spectral balance
    EndpointParams params;
};

/// Outcome of SegmentSpeech.
struct SegmentResult
{
    int taken = 0; ///< 1 when the speech segment was copied (error 0, -4 or -5), else 0
    int error = 0; ///< 0, -1 ... -5 (see EndpointDetector.h)
    int startFrame = 0; ///< first frame of the word
    int endFrame = 0; ///< frame after the word
    double highBandLevel = 0.; ///< mean high-band magnitude of the taken speech (0 when not taken)
};

/**
 * The whole endpoint procedure for one recording: pre-filter the buffer in place, detect the word,
 * and when it is accepted copy its unfiltered samples into the speech buffer, check and refine them.
 *
 * Enrolment widens the word by 4 frames each side (within 0 ... N - 3), reports -4 when the background
 * next to the word carries too much high-frequency noise and -5 when the speech carries too little high
 * band; the segment is still taken in both cases. A segment longer than speechCapacity is shortened to
 * whole frames that fit.
 *
 * @param samples        the recording, pre-filtered in place; may be null when count <= 0.
 * @param count          its number of samples.
 * @param speech         the speech buffer (speechCapacity samples); may be null when speechCapacity is 0.
 * @param speechCount    the speech buffer's sample count, updated only when the segment is taken: a
 *                       rejected recording leaves the buffer and its count as they were.
 */
SegmentResult SegmentSpeech(
    int16_t* samples, int count, const SegmentRequest& request, int16_t* speech, int speechCapacity, int* speechCount);

/// Band sums of the speech check, one entry per 256-sample frame (every 128 samples).
struct SpeechBandAnalysis
{
    int frames = 0; ///< F = trunc(n / 128)
    double highBandLevel = 0.; ///< sum over frames of |X_k|, k = 100 ... 119, divided by F - 1
    std::vector<float> ratios; ///< r_j = j^2 * H_j / L_j (H: bins 90 ... 109, L: bins 10 ... 29)
};

/**
 * Spectral balance of a speech segment. Samples past `count` read as 0.
 * With fewer than two frames the total is divided by 1 instead of F - 1 (0 or negative).
 */
SpeechBandAnalysis AnalyseSpeechBands(const int16_t* speech, int count);

/**
 * The frame (of 128 samples) at which the word's end is placed by the end refinement: searched backwards
 * in steps of 5 for a sharp rise of the high/low ratio, never before 0.6 * F, and kept at F - 1 when none
 * is found. Ratios outside the sequence read 0; the result is never negative.
 */
int RefinedEndOffset(const std::vector<float>& ratios);

/**
 * Mean over the 256-sample frames (every 128) that fit whole in `length` samples from `first` of the sum of
 * DFT magnitudes over bins 115 ... 124. Samples outside 0 ... count - 1 read as 0; 0 when no frame fits.
 */
double BackgroundHighBandLevel(const int16_t* filtered, int count, long long first, int length);

} // namespace halvox
