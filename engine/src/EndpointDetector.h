#pragma once

#include <cstdint>
#include <vector>

namespace halvox {

/// Framing and accepted word length of the detector; the defaults are the engine's.
struct EndpointParams
{
    int windowLength = 240;
    int frameShift = 80;
    int minFrames = 60;
    int maxFrames = 250;
};

/// Error numbers of endpoint detection and of the enrolment checks that follow it.
inline constexpr int kEndpointAccepted = 0;
inline constexpr int kEndpointBadLength = -1;
inline constexpr int kEndpointTooWeak = -2;
inline constexpr int kEndpointTooLoud = -3;
inline constexpr int kEndpointNoisyBackground = -4;
inline constexpr int kEndpointNoHighBand = -5;

/// The frame that start holds while no onset is placed.
inline constexpr int kUnplacedStart = 5;

/**
 * Outcome of one detection. start/end are the word's first frame and the frame after it as the detector
 * left them, also on a rejection (5 and N - 5, N = count / frameShift, when never placed).
 */
struct EndpointResult
{
    int error = 0;
    int start = kUnplacedStart;
    int end = 0;
};

/// Frames in a recording of `count` samples (count / frameShift), 0 for unusable input.
int EndpointFrameCount(int count, const EndpointParams& params);

/// True when a recording is too short for the first evaluated frame: count < 11 * frameShift + windowLength.
bool IsTooShortForDetection(int count, const EndpointParams& params);

/**
 * Mean absolute sample value of every even frame 4 <= i < N - 5 (frame i: samples i * frameShift ...
 * i * frameShift + windowLength - 1, samples past count read as 0). All other entries are 0.
 *
 * @return N values.
 */
std::vector<double> EvenFrameLevels(const int16_t* filtered, int count, const EndpointParams& params);

/**
 * Finds the spoken word in a pre-filtered recording by its frame levels and judges it.
 *
 * error is 0 (accepted), -1 (word length outside minFrames ... maxFrames, unusable framing or a recording
 * shorter than 11 * frameShift + windowLength samples), -2 (word mean level below 60 or below 5 times the
 * background) or -3 (a three-frame mean level above 10000 inside the word).
 *
 * @param filtered the pre-filtered recording; may be null when count <= 0.
 */
EndpointResult DetectEndpoints(const int16_t* filtered, int count, const EndpointParams& params);

} // namespace halvox
