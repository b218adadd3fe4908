#include "bundle/JobRunner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace deskwarden::test {
namespace {

using namespace deskwarden::bundle;

/** A job that notes its number, optionally after a gate opens. */
class NumberedJob : public RunnableJob
{
public:
    NumberedJob(int number, std::vector<int>& ran, std::mutex& lock, std::shared_future<void> gate = {})
        : m_number(number)
        , m_ran(ran)
        , m_lock(lock)
        , m_gate(std::move(gate))
    {
    }
    int Run() noexcept override
    {
        if (m_gate.valid()) {
            m_gate.wait();
        }
        std::lock_guard guard(m_lock);
        m_ran.push_back(m_number);
        return m_number;
    }

private:
    int m_number;
    std::vector<int>& m_ran;
    std::mutex& m_lock;
    std::shared_future<void> m_gate;
};

TEST(JobRunner, OneWorkerRunsQueuedJobsOldestFirst)
{
    std::vector<int> ran;
    std::mutex lock;
    std::promise<void> open;
    JobRunner runner(1);
    ASSERT_TRUE(runner.Queue(std::make_shared<NumberedJob>(1, ran, lock, open.get_future().share())));
    for (int i = 2; i <= 5; ++i) {
        ASSERT_TRUE(runner.Queue(std::make_shared<NumberedJob>(i, ran, lock)));
    }
    ASSERT_TRUE(runner.Start());
    EXPECT_FALSE(runner.Start());
    open.set_value();
    std::shared_ptr<std::promise<void>> done = std::make_shared<std::promise<void>>();
    struct Signal : RunnableJob
    {
        std::shared_ptr<std::promise<void>> done;
        int Run() noexcept override
        {
            done->set_value();
            return 1;
        }
    };
    auto signal = std::make_shared<Signal>();
    signal->done = done;
    ASSERT_TRUE(runner.Queue(signal));
    done->get_future().wait();
    runner.Stop();
    EXPECT_EQ(ran, (std::vector<int> {1, 2, 3, 4, 5}));
}

TEST(JobRunner, StopLetsTheRunningJobEndAndDropsTheQueued)
{
    std::vector<int> ran;
    std::mutex lock;
    std::promise<void> open;
    std::promise<void> started;
    struct Blocking : RunnableJob
    {
        std::promise<void>* started;
        std::shared_future<void> gate;
        int Run() noexcept override
        {
            started->set_value();
            gate.wait();
            return 1;
        }
    };
    auto blocking = std::make_shared<Blocking>();
    blocking->started = &started;
    blocking->gate = open.get_future().share();
    JobRunner runner(1);
    ASSERT_TRUE(runner.Start());
    ASSERT_TRUE(runner.Queue(blocking));
    started.get_future().wait();
    ASSERT_TRUE(runner.Queue(std::make_shared<NumberedJob>(7, ran, lock)));
    // The gate opens only once the stop event is set, which Queue refusing shows.
    std::thread opener([&] {
        while (runner.Queue(std::make_shared<NumberedJob>(9, ran, lock))) {
            std::this_thread::yield();
        }
        open.set_value();
    });
    runner.Stop();
    opener.join();
    EXPECT_TRUE(ran.empty());
    EXPECT_FALSE(runner.Queue(std::make_shared<NumberedJob>(8, ran, lock)));
    EXPECT_FALSE(runner.Queue(nullptr));
}

TEST(JobRunner, SeveralWorkersRunJobsSideBySide)
{
    // Two jobs that each wait for the other to start can only both finish on two workers.
    std::promise<void> firstIn;
    std::promise<void> secondIn;
    struct Meeting : RunnableJob
    {
        std::promise<void>* mine;
        std::shared_future<void> other;
        int Run() noexcept override
        {
            mine->set_value();
            return other.wait_for(std::chrono::minutes(2)) == std::future_status::ready ? 1 : 0;
        }
    };
    auto a = std::make_shared<Meeting>();
    auto b = std::make_shared<Meeting>();
    a->mine = &firstIn;
    b->mine = &secondIn;
    a->other = secondIn.get_future().share();
    b->other = firstIn.get_future().share();
    JobRunner runner(2);
    ASSERT_TRUE(runner.Start());
    ASSERT_TRUE(runner.Queue(a));
    ASSERT_TRUE(runner.Queue(b));
    // A generous bound only turns a deadlock into a failure; a working runner meets at once.
    EXPECT_EQ(a->other.wait_for(std::chrono::minutes(2)), std::future_status::ready);
    EXPECT_EQ(b->other.wait_for(std::chrono::minutes(2)), std::future_status::ready);
    runner.Stop();
}

} // namespace
} // namespace deskwarden::test
