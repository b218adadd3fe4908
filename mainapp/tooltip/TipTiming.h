#pragma once

#include <vector>

namespace deskwarden::tooltip {

struct ScreenPoint
{
    int x = 0;
    int y = 0;

    bool operator==(const ScreenPoint&) const = default;
};

enum class TipTimer
{
    Initial,
    AutoHide
};

/// What the widget is to do after an event. Starting a timer replaces the one that runs.
struct TipAction
{
    enum class Kind
    {
        StartTimer,
        StopTimer,
        Show,
        Hide
    };

    Kind kind = Kind::Hide;
    TipTimer timer = TipTimer::Initial; // StartTimer
    int delayMs = 0; // StartTimer
    ScreenPoint at; // Show

    bool operator==(const TipAction&) const = default;
};

inline constexpr int kDefaultInitialDelayMs = 500;
inline constexpr int kDefaultAutoHideDelayMs = 5000;

/// A tool of the parent window; the widget numbers them.
using ToolId = int;

/**
 * When the tip shows and hides. The tip shows once the cursor has rested on one tool, at one screen
 * position, for the whole initial delay; it hides after the auto-hide delay, on any key or mouse button,
 * and when the cursor leaves the tool. Once hidden it stays away until the cursor enters a tool again, so
 * a click on a button does not bring its tip straight back.
 */
class TipTiming
{
public:
    explicit TipTiming(int initialDelayMs = kDefaultInitialDelayMs, int autoHideDelayMs = kDefaultAutoHideDelayMs);

    std::vector<TipAction> CursorEntered(ToolId tool, ScreenPoint at);
    /** A move onto another tool counts as entering it. */
    std::vector<TipAction> CursorMoved(ToolId tool, ScreenPoint at);
    /** A timer that is no longer the running one is ignored. */
    std::vector<TipAction> TimerFired(TipTimer timer);
    /** A key, a system key, or a mouse button pressed or double-clicked anywhere. */
    std::vector<TipAction> InputPressed();
    std::vector<TipAction> CursorLeft();

    bool Shown() const { return state_ == State::Shown; }

private:
    enum class State
    {
        Idle,
        Waiting,
        Shown,
        Dismissed
    };

    std::vector<TipAction> Arm(ScreenPoint at, std::vector<TipAction> actions);
    std::vector<TipAction> InitialDelayOver();

    int initialDelayMs_;
    int autoHideDelayMs_;
    State state_ = State::Idle;
    ToolId tool_ = -1;
    ScreenPoint armedAt_;
    ScreenPoint cursor_;
};

} // namespace deskwarden::tooltip
