#pragma once

#include <cstdint>

namespace halvox {

/// Analysis settings of the speaker features; the defaults are the engine's.
struct LpcCepstrumParams
{
    int windowLength = 240;
    int frameShift = 80;
    int lpcOrder = 16;
    int cepstralOrder = 19;
};

/**
 * Speaker features: one vector of weighted LPC cepstra (cepstralOrder + 1 floats, coefficient 0 first) per
 * analysis frame of windowLength samples every frameShift samples.
 *
 * Each frame is peak-normalised, pre-emphasised (0.95), Hamming-windowed and analysed by autocorrelation
 * and the Durbin recursion; the cepstra c_0 ... c_3 are weighted by 0.4, 0.65, 0.8, 0.9.
 * The object holds only its settings and may be shared between threads.
 */
class LpcCepstrumFrontEnd
{
public:
    explicit LpcCepstrumFrontEnd(const LpcCepstrumParams& params);

    /// Floats per vector: cepstralOrder + 1 (0 when the settings are unusable).
    int FeatureDim() const;

    /// True when windowLength >= 2, frameShift >= 1, lpcOrder >= 1 and cepstralOrder >= 0.
    bool IsValid() const;

    /**
     * One vector from windowLength samples.
     *
     * @param frame windowLength samples.
     * @param out   receives FeatureDim() floats when the result is true; untouched otherwise.
     * @return false for an all-zero frame, for a frame whose analysis does not give finite values, and
     *         for unusable settings.
     */
    bool ComputeFrame(const int16_t* frame, float* out) const;

    /**
     * Vectors of frames startFrame ... endFrame - 1 of a recording. Samples outside 0 ... count - 1 read
     * as 0. A frame that gives no vector (see ComputeFrame) repeats the previous vector, or zeros when it
     * is the first, so that silence padding cannot poison later stages with NaN.
     *
     * @param samples   the recording (the pre-filtered buffer); may be null when count <= 0.
     * @param count     its number of samples.
     * @param out       room for maxFrames vectors of FeatureDim() floats, written row by row.
     * @return the number of vectors written: min(endFrame - startFrame, maxFrames), 0 when that is
     *         not positive or the settings are unusable.
     */
    int Compute(const int16_t* samples, int count, int startFrame, int endFrame, float* out, int maxFrames) const;

private:
    LpcCepstrumParams m_params;
};

} // namespace halvox
