#include "tooltip/TipTiming.h"

namespace deskwarden::tooltip {

namespace {

TipAction Start(TipTimer timer, int delayMs)
{
    return TipAction {TipAction::Kind::StartTimer, timer, delayMs, {}};
}

TipAction Stop()
{
    return TipAction {TipAction::Kind::StopTimer, TipTimer::Initial, 0, {}};
}

TipAction Hide()
{
    return TipAction {TipAction::Kind::Hide, TipTimer::Initial, 0, {}};
}

TipAction ShowAt(ScreenPoint at)
{
    return TipAction {TipAction::Kind::Show, TipTimer::Initial, 0, at};
}

} // namespace

TipTiming::TipTiming(int initialDelayMs, int autoHideDelayMs)
    : initialDelayMs_(initialDelayMs)
    , autoHideDelayMs_(autoHideDelayMs)
{
}

std::vector<TipAction> TipTiming::Arm(ScreenPoint at, std::vector<TipAction> actions)
{
    state_ = State::Waiting;
    armedAt_ = at;
    cursor_ = at;
    actions.push_back(Start(TipTimer::Initial, initialDelayMs_));
    return actions;
}

std::vector<TipAction> TipTiming::CursorEntered(ToolId tool, ScreenPoint at)
{
    std::vector<TipAction> actions;
    if (state_ == State::Shown) {
        actions.push_back(Hide());
    }
    tool_ = tool;
    return Arm(at, std::move(actions));
}

std::vector<TipAction> TipTiming::CursorMoved(ToolId tool, ScreenPoint at)
{
    if (state_ == State::Idle || tool != tool_) {
        return CursorEntered(tool, at);
    }
    // Once hidden, the tip stays away until the cursor enters a tool again.
    cursor_ = at;
    return {};
}

std::vector<TipAction> TipTiming::InitialDelayOver()
{
    if (cursor_ != armedAt_) {
        // The cursor was still moving: it has to rest a whole delay where it is now.
        return Arm(cursor_, {});
    }
    state_ = State::Shown;
    return {ShowAt(cursor_), Start(TipTimer::AutoHide, autoHideDelayMs_)};
}

std::vector<TipAction> TipTiming::TimerFired(TipTimer timer)
{
    if (timer == TipTimer::Initial && state_ == State::Waiting) {
        return InitialDelayOver();
    }
    if (timer == TipTimer::AutoHide && state_ == State::Shown) {
        state_ = State::Dismissed;
        return {Hide()};
    }
    return {};
}

std::vector<TipAction> TipTiming::InputPressed()
{
    const bool wasShown = state_ == State::Shown;
    const bool wasTiming = wasShown || state_ == State::Waiting;
    if (!wasTiming) {
        return {};
    }
    state_ = State::Dismissed;
    std::vector<TipAction> actions {Stop()};
    if (wasShown) {
        actions.push_back(Hide());
    }
    return actions;
}

std::vector<TipAction> TipTiming::CursorLeft()
{
    std::vector<TipAction> actions;
    if (state_ == State::Waiting || state_ == State::Shown) {
        actions.push_back(Stop());
    }
    if (state_ == State::Shown) {
        actions.push_back(Hide());
    }
    state_ = State::Idle;
    tool_ = -1;
    return actions;
}

} // namespace deskwarden::tooltip
