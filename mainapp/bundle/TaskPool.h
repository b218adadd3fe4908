#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace deskwarden::bundle {

/**
 * A few threads that encipher or decipher a job's files while the job's own thread writes or reads the
 * bundle in order. Tasks run in the order given; the destructor runs what is queued and joins.
 */
class TaskPool
{
public:
    explicit TaskPool(unsigned threads);
    ~TaskPool();
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;

    /** Queues `task`; the future is ready when it has run. */
    std::future<void> Submit(std::function<void()> task);

private:
    void Loop();

    std::mutex m_lock;
    std::condition_variable m_signal;
    std::deque<std::packaged_task<void()>> m_tasks;
    bool m_closing = false;
    std::vector<std::thread> m_threads;
};

} // namespace deskwarden::bundle
