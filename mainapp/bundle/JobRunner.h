#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace deskwarden::bundle {

/** Work a JobRunner runs on one of its threads. */
class RunnableJob
{
public:
    virtual ~RunnableJob() = default;
    /** Runs to the end; must not throw. @return the job's result. */
    virtual int Run() noexcept = 0;
};

/**
 * A queue of jobs and a fixed number of worker threads. Each worker waits for either the stop event (then it
 * ends) or a queued job (then it takes the oldest and runs it). The stop event wins over queued jobs.
 * All methods may be called from any thread except a worker's own.
 */
class JobRunner
{
public:
    explicit JobRunner(unsigned workerCount = 1);
    /** Stops the workers (see Stop). */
    ~JobRunner();
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    /** Starts the workers once. @return false when already started or a thread could not be made. */
    bool Start() noexcept;
    /** Queues `job` for the next free worker. @return false after Stop or for a null job. */
    bool Queue(std::shared_ptr<RunnableJob> job) noexcept;
    /** Sets the stop event and waits for every worker; a running job finishes first, queued ones never run. */
    void Stop() noexcept;

    /** Jobs queued and not yet taken by a worker. */
    std::size_t Pending() const noexcept;

private:
    void WorkerLoop();

    unsigned m_workerCount;
    mutable std::mutex m_lock; // guards the queue, the count and the stop event
    std::condition_variable m_signal;
    std::deque<std::shared_ptr<RunnableJob>> m_queue;
    std::size_t m_semaphore = 0; // queued jobs not yet taken
    bool m_stopEvent = false; // manual reset: stays set
    bool m_started = false;
    std::vector<std::thread> m_workers;
};

} // namespace deskwarden::bundle
