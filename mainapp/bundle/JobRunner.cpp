#include "bundle/JobRunner.h"

#include <platform/BoundaryGuard.h>

#include <algorithm>

namespace deskwarden::bundle {

JobRunner::JobRunner(unsigned workerCount)
    : m_workerCount(std::max(1u, workerCount))
{
}

JobRunner::~JobRunner()
{
    Stop();
}

bool JobRunner::Start() noexcept
{
    return platform::Guarded(false, [&] {
        std::lock_guard lock(m_lock);
        if (m_started || m_stopEvent) {
            return false;
        }
        m_started = true;
        for (unsigned i = 0; i < m_workerCount; ++i) {
            m_workers.emplace_back([this] { WorkerLoop(); });
        }
        return true;
    });
}

bool JobRunner::Queue(std::shared_ptr<RunnableJob> job) noexcept
{
    return platform::Guarded(false, [&] {
        {
            std::lock_guard lock(m_lock);
            if (!job || m_stopEvent) {
                return false;
            }
            m_queue.push_back(std::move(job));
            ++m_semaphore;
        }
        m_signal.notify_one();
        return true;
    });
}

void JobRunner::Stop() noexcept
{
    {
        std::lock_guard lock(m_lock);
        m_stopEvent = true;
    }
    m_signal.notify_all();
    for (auto& worker : m_workers) {
        if (worker.joinable()) {
            worker.join();
        }
    }
    m_workers.clear();
}

std::size_t JobRunner::Pending() const noexcept
{
    std::lock_guard lock(m_lock);
    return m_semaphore;
}

void JobRunner::WorkerLoop()
{
    while (true) {
        std::shared_ptr<RunnableJob> job;
        {
            std::unique_lock lock(m_lock);
            m_signal.wait(lock, [this] { return m_stopEvent || m_semaphore > 0; });
            if (m_stopEvent) {
                return;
            }
            --m_semaphore;
            job = std::move(m_queue.front());
            m_queue.pop_front();
        }
        job->Run();
    }
}

} // namespace deskwarden::bundle
