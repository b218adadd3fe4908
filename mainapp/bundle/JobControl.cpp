#include "bundle/JobControl.h"

#include "bundle/BundleTexts.h"

namespace deskwarden::bundle {

void SerialObserver::Status(const std::string& fileName, const std::string& status)
{
    std::lock_guard lock(m_lock);
    m_observer.StatusLine(StatusLine(fileName, status));
}

void SerialObserver::Phase(const std::string& text)
{
    std::lock_guard lock(m_lock);
    m_observer.PhaseText(text);
}

void SerialObserver::FileProgress(std::uint64_t done, std::uint64_t size)
{
    std::lock_guard lock(m_lock);
    m_observer.FileProgress(done, size);
}

void SerialObserver::AddOverall(std::uint64_t bytes)
{
    std::lock_guard lock(m_lock);
    m_done += bytes;
    m_observer.OverallProgress(m_done, m_total);
}

void SerialObserver::SetOverallTotal(std::uint64_t total)
{
    std::lock_guard lock(m_lock);
    m_total = total;
    m_done = 0;
    m_observer.OverallProgress(0, total);
}

bool SerialObserver::AskOverwrite()
{
    std::lock_guard lock(m_lock);
    return m_observer.AskOverwrite(kOverwriteQuestion);
}

bool SerialObserver::AskStop()
{
    std::lock_guard lock(m_lock);
    return m_observer.AskStop(kStopQuestion);
}

void SerialObserver::Ended(int result)
{
    std::lock_guard lock(m_lock);
    m_observer.JobEnded(result);
}

bool StopControl::ShouldStop()
{
    if (m_stopped.load()) {
        return true;
    }
    if (m_flag.load() != 0) {
        return false;
    }
    std::lock_guard lock(m_question);
    // Another thread may have asked while this one waited: its answer stands.
    if (m_stopped.load() || m_flag.load() != 0) {
        return m_stopped.load();
    }
    if (m_observer.AskStop()) {
        m_stopped.store(true);
        return true;
    }
    m_flag.store(1);
    return false;
}

} // namespace deskwarden::bundle
