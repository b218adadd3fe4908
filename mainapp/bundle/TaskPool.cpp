#include "bundle/TaskPool.h"

#include <algorithm>

namespace deskwarden::bundle {

TaskPool::TaskPool(unsigned threads)
{
    for (unsigned i = 0; i < std::max(1u, threads); ++i) {
        m_threads.emplace_back([this] { Loop(); });
    }
}

TaskPool::~TaskPool()
{
    {
        std::lock_guard lock(m_lock);
        m_closing = true;
    }
    m_signal.notify_all();
    for (auto& thread : m_threads) {
        thread.join();
    }
}

std::future<void> TaskPool::Submit(std::function<void()> task)
{
    std::packaged_task<void()> packaged(std::move(task));
    auto future = packaged.get_future();
    {
        std::lock_guard lock(m_lock);
        m_tasks.push_back(std::move(packaged));
    }
    m_signal.notify_one();
    return future;
}

void TaskPool::Loop()
{
    while (true) {
        std::packaged_task<void()> task;
        {
            std::unique_lock lock(m_lock);
            m_signal.wait(lock, [this] { return m_closing || !m_tasks.empty(); });
            if (m_tasks.empty()) {
                return;
            }
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        task();
    }
}

} // namespace deskwarden::bundle
