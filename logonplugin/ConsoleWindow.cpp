#include "ConsoleWindow.h"

#include <thread>

namespace wardengate {

using talk::voice::VoiceAction;
using talk::voice::VoiceActionKind;

ConsoleWindow::ConsoleWindow(TextSink show, TextSink word, std::function<void()> readingEnded)
    : m_show(std::move(show))
    , m_word(std::move(word))
    , m_readingEnded(std::move(readingEnded))
{
}

bool ConsoleWindow::Apply(const VoiceAction& action)
{
    switch (action.kind) {
    case VoiceActionKind::ShowPrompt:
    case VoiceActionKind::ShowMessage:
        if (!action.text.empty())
            m_show(action.text);
        return true;
    case VoiceActionKind::SetLabel:
        if (m_word && action.name == talk::voice::kLabelWord && !action.text.empty())
            m_word(action.text);
        return true;
    case VoiceActionKind::StartTimer:
        m_timers[action.id]
            = Timer {Clock::now() + std::chrono::milliseconds(action.value), std::chrono::milliseconds(action.value)};
        return true;
    case VoiceActionKind::KillTimer:
        m_timers.erase(action.id);
        return true;
    case VoiceActionKind::ApplyLayout:
        m_layout = action.value;
        return true;
    case VoiceActionKind::RecordingStopped:
        if (m_readingEnded)
            m_readingEnded();
        return true;
    case VoiceActionKind::Pause:
        std::this_thread::sleep_for(std::chrono::milliseconds(action.value));
        return true;
    case VoiceActionKind::PlaySound:
    case VoiceActionKind::AskYesNo:
        return false;
    default:
        return true;
    }
}

bool ConsoleWindow::NextTimer(int& id, Clock::time_point& due) const
{
    bool found = false;
    for (const auto& [timer, state] : m_timers) {
        if (!found || state.due < due) {
            id = timer;
            due = state.due;
            found = true;
        }
    }
    return found;
}

void ConsoleWindow::Fired(int id)
{
    const auto timer = m_timers.find(id);
    if (timer != m_timers.end())
        timer->second.due += timer->second.interval;
}

} // namespace wardengate
