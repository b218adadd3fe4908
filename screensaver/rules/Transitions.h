#pragma once

#include "rules/SlideGeometry.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace screenveil {

/** Copies `source` (in the placed picture's pixels) to the same size at (destX, destY) of the picture's place. */
struct StripCopy
{
    Rect source;
    int destX = 0;
    int destY = 0;
};

/** One step of a transition: what it copies, then how long it pauses before the next step. */
struct TransitionStep
{
    std::vector<StripCopy> copies;
    int pauseMs = 0;
};

inline constexpr int kBmpTransitionCount = 12;
inline constexpr int kJpegTransitionCount = 6;

/** A random number from 0 to bound - 1; the slide show seeds its generator once. */
using RandomBelow = std::function<int(int bound)>;

/**
 * The steps that bring in a BMP picture of `width` x `height` (index 0 to 11: blinds, wipes, drips and
 * slides). Every plan ends with one step that copies the whole picture, so a picture is complete however
 * the strips fell. An unknown index gives that step alone.
 */
std::vector<TransitionStep> BmpTransition(int index, int width, int height, const RandomBelow& random);

/** The steps that bring in a JPEG picture (index 0 to 5: blinds and one-line sweeps), ending likewise. */
std::vector<TransitionStep> JpegTransition(int index, int width, int height);

/**
 * Plays a plan against a clock: every step whose start time has come is handed out at once, so a slow
 * timer catches up instead of stretching the transition.
 */
class TransitionPlayer
{
public:
    TransitionPlayer() = default;
    TransitionPlayer(std::vector<TransitionStep> steps, std::int64_t startMs);

    /** The copies of every step due at `nowMs` that was not handed out yet. */
    std::vector<StripCopy> Due(std::int64_t nowMs);
    bool Finished() const { return m_next >= m_steps.size(); }

private:
    std::vector<TransitionStep> m_steps;
    std::size_t m_next = 0;
    std::int64_t m_nextStartMs = 0;
};

} // namespace screenveil
