#pragma once

#include "bundle/JobObserver.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace deskwarden::bundle {

/**
 * The observer as a job's threads share it: one call at a time, so that the window never sees two at
 * once and a question holds every other thread of the job until it is answered.
 */
class SerialObserver
{
public:
    explicit SerialObserver(JobObserver& observer)
        : m_observer(observer)
    {
    }

    void Status(const std::string& fileName, const std::string& status);
    void Phase(const std::string& text);
    void FileProgress(std::uint64_t done, std::uint64_t size);
    /** Adds `bytes` to the job's running total and shows it. */
    void AddOverall(std::uint64_t bytes);
    void SetOverallTotal(std::uint64_t total);
    bool AskOverwrite();
    bool AskStop();
    void Ended(int result);

private:
    std::mutex m_lock;
    JobObserver& m_observer;
    std::uint64_t m_done = 0;
    std::uint64_t m_total = 0;
};

/**
 * The continue flag and the stop question, shared by a job's threads: the question is asked at most once
 * per request, and once the user said Yes every thread of the job sees the job as stopped.
 */
class StopControl
{
public:
    StopControl(std::atomic<int>& continueFlag, SerialObserver& observer)
        : m_flag(continueFlag)
        , m_observer(observer)
    {
    }

    /** True when the user asked to stop and confirmed it now or before; asks when the flag is newly cleared. */
    bool ShouldStop();
    /** Whether the window cleared the flag (no question asked). */
    bool FlagCleared() const { return m_flag.load() == 0; }
    /** Whether the user confirmed a stop. */
    bool Stopped() const { return m_stopped.load(); }
    /** Stops the job's other threads without asking, after a failure. */
    void Abort() { m_aborted.store(true); }
    bool Aborted() const { return m_aborted.load() || m_stopped.load(); }

private:
    std::mutex m_question;
    std::atomic<int>& m_flag;
    SerialObserver& m_observer;
    std::atomic<bool> m_stopped {false};
    std::atomic<bool> m_aborted {false};
};

} // namespace deskwarden::bundle
