#include "WaveformModel.h"

#include <algorithm>

namespace {

constexpr int kFullScale = 32768;
constexpr int kResultMarkInset = 3;

} // namespace

WaveformModel::WaveformModel(const SkinRect& rect, long bufferBytes, int bytesPerSecond, int tickMs)
    : m_rect(rect)
    , m_sampleCount(std::max(0L, bufferBytes / 2))
    , m_bytesPerSecond(bytesPerSecond)
    , m_tickMs(tickMs)
{
}

SampleRange WaveformModel::TickSlice(int tick) const
{
    // Samples per tick is fractional (1102.5 at 100 ms): each slice starts where the truncated running total
    // of the previous one ended, so the slices of a whole reading cover it without gap or overlap.
    double perTick = m_bytesPerSecond * m_tickMs * 0.001 * 0.5;
    SampleRange range;
    range.first = static_cast<long>(perTick * (tick - 1));
    range.last = static_cast<long>(static_cast<double>(m_bytesPerSecond) * m_tickMs * tick * 0.0005);
    range.first = std::clamp(range.first, 0L, m_sampleCount);
    range.last = std::clamp(range.last, range.first, m_sampleCount);
    return range;
}

int WaveformModel::X(long sampleIndex) const
{
    if (m_sampleCount == 0)
        return m_rect.left;
    return m_rect.left + static_cast<int>(static_cast<int64_t>(sampleIndex) * m_rect.Width() / m_sampleCount);
}

int WaveformModel::Y(int sampleValue) const
{
    int height = m_rect.Height();
    int y = m_rect.top + height / 2 + static_cast<int>(static_cast<int64_t>(sampleValue) * height / kFullScale);
    return std::clamp(y, m_rect.top, std::max(m_rect.top, m_rect.bottom));
}

std::vector<SkinPoint> WaveformModel::Points(SampleRange range, const SampleAt& sample) const
{
    std::vector<SkinPoint> points;
    if (!sample || range.last <= range.first)
        return points;
    points.reserve(static_cast<size_t>(range.last - range.first));
    for (long i = range.first; i < range.last; ++i)
        points.push_back({X(i), Y(sample(i))});
    return points;
}

std::vector<SkinPoint> WaveformModel::TickSlicePoints(int tick, const SampleAt& sample) const
{
    return Points(TickSlice(tick), sample);
}

std::vector<SkinPoint> WaveformModel::WholePoints(const SampleAt& sample) const
{
    return Points({0, m_sampleCount}, sample);
}

std::vector<SkinLine> WaveformModel::EndpointMarks(long startSample, long endSample) const
{
    int eighth = m_rect.Height() / 8;
    int top = m_rect.top + eighth;
    int bottom = m_rect.bottom - eighth;
    std::vector<SkinLine> lines;
    for (long sample : {startSample, endSample}) {
        int x = X(sample);
        lines.push_back({{x, top}, {x, bottom}});
    }
    return lines;
}

ResultMarkShape WaveformModel::ResultMark(bool ok) const
{
    ResultMarkShape shape;
    shape.circle = ok;
    int side = std::max(0, std::min(m_rect.Width(), m_rect.Height()) - 2 * kResultMarkInset);
    int left = m_rect.left + (m_rect.Width() - side) / 2;
    int top = m_rect.top + (m_rect.Height() - side) / 2;
    shape.box = {left, top, left + side, top + side};
    shape.diagonals[0] = {{shape.box.left, shape.box.top}, {shape.box.right, shape.box.bottom}};
    shape.diagonals[1] = {{shape.box.right, shape.box.top}, {shape.box.left, shape.box.bottom}};
    return shape;
}
