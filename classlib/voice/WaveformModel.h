#pragma once

#include "skin/SkinGeometry.h"

#include <cstdint>
#include <functional>
#include <vector>

/** Where a result mark goes: a circle inscribed in `box` (accepted) or the two diagonals of `box`. */
struct ResultMarkShape
{
    bool circle = false;
    SkinRect box;
    SkinLine diagonals[2];
};

/** Half-open range of sample indices [first, last). */
struct SampleRange
{
    long first = 0;
    long last = 0;

    friend bool operator==(const SampleRange&, const SampleRange&) = default;
};

/**
 * The geometry of the waveform in the skin's wave rectangle: the slice recorded during one timer tick, the
 * whole recording, the endpoint marks and the result marks. It computes points only; a painter draws them.
 */
class WaveformModel
{
public:
    using SampleAt = std::function<int16_t(long index)>;

    /**
     * @param rect           the wave rectangle.
     * @param bufferBytes    capture buffer size in bytes (two per sample).
     * @param bytesPerSecond of the recording format (22050).
     * @param tickMs         timer tick (100).
     */
    WaveformModel(const SkinRect& rect, long bufferBytes, int bytesPerSecond, int tickMs);

    /** Samples recorded during tick `tick` (1-based). */
    SampleRange TickSlice(int tick) const;
    /** Polyline of the samples of tick `tick`. */
    std::vector<SkinPoint> TickSlicePoints(int tick, const SampleAt& sample) const;
    /** Polyline of every sample of the buffer. */
    std::vector<SkinPoint> WholePoints(const SampleAt& sample) const;
    /** The two vertical lines that mark where speech starts and ends (sample indices). */
    std::vector<SkinLine> EndpointMarks(long startSample, long endSample) const;
    /** The blue circle (ok) or the red cross of a reading's result. */
    ResultMarkShape ResultMark(bool ok) const;

    int X(long sampleIndex) const;
    int Y(int sampleValue) const;

private:
    std::vector<SkinPoint> Points(SampleRange range, const SampleAt& sample) const;

    SkinRect m_rect;
    long m_sampleCount;
    int m_bytesPerSecond;
    int m_tickMs;
};
