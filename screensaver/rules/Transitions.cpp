#include "rules/Transitions.h"

#include <algorithm>

namespace screenveil {

namespace {

constexpr int kStrip = 20;
constexpr int kStepPauseMs = 10;
constexpr int kBlindsPauseMs = 50;
constexpr int kDripMostRows = 10; // each strip grows by 0 to 9 lines a round

using Plan = std::vector<TransitionStep>;

StripCopy Same(Rect r)
{
    return StripCopy {r, r.x, r.y};
}

void EndWithWhole(Plan& plan, int width, int height)
{
    plan.push_back(TransitionStep {{Same(Rect {0, 0, width, height})}, 0});
}

// Step k copies line k of every strip; vertical blinds work on columns, horizontal ones on rows.
Plan Blinds(bool vertical, int width, int height, int pauseMs)
{
    Plan plan;
    const int extent = vertical ? width : height;
    for (int k = 0; k < kStrip; ++k) {
        TransitionStep step {{}, pauseMs};
        for (int start = k; start < extent; start += kStrip)
            step.copies.push_back(Same(vertical ? Rect {start, 0, 1, height} : Rect {0, start, width, 1}));
        plan.push_back(std::move(step));
    }
    return plan;
}

// One band of `band` lines per step, from one edge to the other.
Plan Wipe(bool columns, bool forward, int width, int height, int band, int pauseMs)
{
    Plan plan;
    const int extent = columns ? width : height;
    for (int done = 0; done < extent; done += band) {
        const int size = std::min(band, extent - done);
        const int start = forward ? done : extent - done - size;
        const Rect r = columns ? Rect {start, 0, size, height} : Rect {0, start, width, size};
        plan.push_back(TransitionStep {{Same(r)}, pauseMs});
    }
    return plan;
}

// Strips across the picture grow from one edge by a random number of lines each round.
Plan Drip(bool downOrUp, bool fromStart, int width, int height, const RandomBelow& random)
{
    Plan plan;
    const int across = downOrUp ? width : height;
    const int along = downOrUp ? height : width;
    std::vector<int> grown(static_cast<std::size_t>((across + kStrip - 1) / kStrip), 0);
    // A generator that keeps answering 0 must not hold the show: the closing whole copy completes it.
    for (int round = 0; round < 2 * along && std::any_of(grown.begin(), grown.end(), [&](int g) { return g < along; });
         ++round) {
        TransitionStep step {{}, kStepPauseMs};
        for (std::size_t i = 0; i < grown.size(); ++i) {
            const int before = grown[i];
            grown[i] = std::min(along, before + random(kDripMostRows));
            if (grown[i] == before)
                continue;
            const int stripStart = static_cast<int>(i) * kStrip;
            const int stripSize = std::min(kStrip, across - stripStart);
            const int lineStart = fromStart ? before : along - grown[i];
            const int lines = grown[i] - before;
            step.copies.push_back(Same(downOrUp ? Rect {stripStart, lineStart, stripSize, lines}
                                                : Rect {lineStart, stripStart, lines, stripSize}));
        }
        plan.push_back(std::move(step));
    }
    return plan;
}

// The far part of the picture, i strips deep, enters at one edge and pushes in.
Plan Slide(bool horizontal, bool fromStart, int width, int height)
{
    Plan plan;
    const int extent = horizontal ? width : height;
    for (int shown = kStrip; shown < extent + kStrip; shown += kStrip) {
        const int size = std::min(shown, extent);
        const int sourceStart = fromStart ? extent - size : 0;
        const int destStart = fromStart ? 0 : extent - size;
        const Rect source = horizontal ? Rect {sourceStart, 0, size, height} : Rect {0, sourceStart, width, size};
        StripCopy copy {source, horizontal ? destStart : 0, horizontal ? 0 : destStart};
        plan.push_back(TransitionStep {{copy}, kStepPauseMs});
    }
    return plan;
}

Plan BmpSteps(int index, int width, int height, const RandomBelow& random)
{
    switch (index) {
    case 0:
        return Blinds(true, width, height, kBlindsPauseMs);
    case 1:
        return Blinds(false, width, height, kBlindsPauseMs);
    case 2:
        return Wipe(true, true, width, height, kStrip, kStepPauseMs);
    case 3:
        return Wipe(true, false, width, height, kStrip, kStepPauseMs);
    case 4:
        return Drip(true, true, width, height, random);
    case 5:
        return Drip(true, false, width, height, random);
    case 6:
        return Drip(false, true, width, height, random);
    case 7:
        return Drip(false, false, width, height, random);
    case 8:
        return Slide(true, true, width, height);
    case 9:
        return Slide(true, false, width, height);
    case 10:
        return Slide(false, true, width, height);
    case 11:
        return Slide(false, false, width, height);
    default:
        return {};
    }
}

Plan JpegSteps(int index, int width, int height)
{
    switch (index) {
    case 0:
        return Blinds(true, width, height, kBlindsPauseMs);
    case 1:
        return Blinds(false, width, height, kBlindsPauseMs);
    case 2:
        return Wipe(true, true, width, height, 1, 1);
    case 3:
        return Wipe(true, false, width, height, 1, 1);
    case 4:
        return Wipe(false, true, width, height, 1, 5);
    case 5:
        return Wipe(false, false, width, height, 1, 5);
    default:
        return {};
    }
}

} // namespace

std::vector<TransitionStep> BmpTransition(int index, int width, int height, const RandomBelow& random)
{
    Plan plan = width > 0 && height > 0 ? BmpSteps(index, width, height, random) : Plan {};
    EndWithWhole(plan, width, height);
    return plan;
}

std::vector<TransitionStep> JpegTransition(int index, int width, int height)
{
    Plan plan = width > 0 && height > 0 ? JpegSteps(index, width, height) : Plan {};
    EndWithWhole(plan, width, height);
    return plan;
}

TransitionPlayer::TransitionPlayer(std::vector<TransitionStep> steps, std::int64_t startMs)
    : m_steps(std::move(steps))
    , m_nextStartMs(startMs)
{
}

std::vector<StripCopy> TransitionPlayer::Due(std::int64_t nowMs)
{
    std::vector<StripCopy> copies;
    while (m_next < m_steps.size() && m_nextStartMs <= nowMs) {
        const TransitionStep& step = m_steps[m_next++];
        copies.insert(copies.end(), step.copies.begin(), step.copies.end());
        m_nextStartMs += step.pauseMs;
    }
    return copies;
}

} // namespace screenveil
