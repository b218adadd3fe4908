#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace modelbuild {

inline constexpr int kSpeakerDim = 20;
inline constexpr int kCaptureSamples = 33075;

/** A reading as the engine sees it in verification: the detected word's speaker and word-recogniser features. */
struct ReadingFeatures
{
    int endpointError = 0; ///< the endpoint detection's error number (0 when taken)
    std::vector<float> speaker; ///< frames x kSpeakerDim LPC cepstra of the detected word
    std::vector<float> plp; ///< PLP frames x 26 of the word's unfiltered samples
    int SpeakerFrames() const { return static_cast<int>(speaker.size() / kSpeakerDim); }
};

/**
 * Runs the engine's endpoint detection (verification mode, with the end refinement when `trimEnd`) and both
 * front ends over one recording, with the voice dialog's analysis settings. Returns false when the detection
 * rejects the recording or gives fewer than two frames (features empty, endpointError set).
 */
bool AnalyseRecording(std::vector<int16_t> samples, bool trimEnd, ReadingFeatures* features);

/** Reads a WAV file in the engine's input format (16-bit mono, 11025 per second) and analyses it. */
bool AnalyseWavFile(const std::string& path, bool trimEnd, ReadingFeatures* features, std::string& error);

} // namespace modelbuild
