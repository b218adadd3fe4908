#pragma once

#include "voice/VoiceAction.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

namespace wardengate {

/**
 * The logon dialog's window on a terminal: prompts and messages become lines, the dialog's timers are kept
 * here for the driver to fire, pauses are sleeps and the prompt sounds stay silent (the dialog then waits
 * in their place). Yes/No questions are answered No. Drawing has nothing to show.
 */
class ConsoleWindow final : public talk::voice::VoiceActionSink
{
public:
    using Clock = std::chrono::steady_clock;
    /** Each prompt and message text, as it appears. */
    using TextSink = std::function<void(const std::string&)>;

    /** `show` gets the prompts and messages; `word`, when set, each password word the dialog asks for. */
    explicit ConsoleWindow(TextSink show, TextSink word = {}, std::function<void()> readingEnded = {});

    bool Apply(const talk::voice::VoiceAction& action) override;

    /** The timer due first and when; false when none runs. */
    bool NextTimer(int& id, Clock::time_point& due) const;
    /** Timer `id` has fired: like a window timer it comes again after its interval until it is killed. */
    void Fired(int id);
    /** Which entry controls the dialog shows now (its last layout). */
    int Layout() const noexcept { return m_layout; }

private:
    TextSink m_show;
    TextSink m_word;
    std::function<void()> m_readingEnded;
    struct Timer
    {
        Clock::time_point due;
        std::chrono::milliseconds interval;
    };
    std::map<int, Timer> m_timers;
    int m_layout = 0;
};

} // namespace wardengate
