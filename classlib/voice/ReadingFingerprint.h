#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace talk::voice {

/**
 * What a recording keeps of one reading and a speaker never repeats exactly: the loudness contour of the
 * word and its pitch contour, frame by frame. A loudspeaker, a room and a microphone bend the spectrum,
 * add echo and change the level, but they neither stretch time nor move the pitch; two readings by the
 * same person differ in both. The contours are taken from the band all of them pass (about 0.4 to 3.2 kHz).
 */
struct ReadingFingerprint
{
    /** Loudness per frame, in quarter decibels below the loudest frame (0 loudest, 160 = 40 dB or less). */
    std::vector<uint8_t> level;
    /** Pitch per frame in cents above 50 Hz; 0 where the frame is not voiced. */
    std::vector<uint16_t> pitch;

    bool Empty() const noexcept { return level.empty(); }
};

/** Samples between two frames of the contours. */
inline constexpr int kFingerprintHop = 64;

/**
 * The fingerprint of the word found between samples `first` and `last` of a reading at `sampleRate`
 * (a little of what lies around it is taken too, so that endpoints found a few frames apart still
 * overlap). Empty when the span holds fewer than ten frames.
 */
ReadingFingerprint ComputeFingerprint(
    const int16_t* samples, int count, long first, long last, int sampleRate = 11025) noexcept;

/** How the best alignment of two fingerprints came out, with the parts of their distance. */
struct FingerprintMatch
{
    double timeScale = 1.0; // frames of the second per frame of the first
    double pitchCents = 0.0; // median pitch difference over frames voiced in both
    double pitchSpread = 0.0; // median distance in cents of the pitch differences from their median
    double correlation = 0.0; // of the two loudness rises once aligned
    int voicedPairs = 0;
    double distance = 1e9; // of stretch and pitch in their units; 0 for one reading compared with itself
};

/**
 * Aligns `b` onto `a` by stretching and shifting it in time (where the loudness rises coincide and the
 * pitch contours run parallel) and measures how far apart they are. A replay of a reading lies close to
 * it (no stretch, no pitch change); another reading of the same word lies far. A fingerprint without
 * enough voiced frames is far from everything: nothing shows it to be a replay.
 */
FingerprintMatch CompareFingerprints(const ReadingFingerprint& a, const ReadingFingerprint& b) noexcept;

/** Closer than this, a reading is taken for a replay of the other. */
inline constexpr double kReplayDistance = 1.0;

/** Compact bytes of a fingerprint for a store. */
std::string EncodeFingerprint(const ReadingFingerprint& print);
/** The fingerprint of `bytes` from `offset` on, moving `offset` past it; false for damaged bytes. */
bool DecodeFingerprint(const std::string& bytes, std::size_t& offset, ReadingFingerprint& print);

} // namespace talk::voice
