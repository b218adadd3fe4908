#pragma once

#include <atomic>

namespace cipherwell {

// The caller's continue flag is a plain int that another thread clears while we run; every access goes
// through an atomic view so that the compiler neither caches nor tears it.
class ContinueFlag
{
public:
    explicit ContinueFlag(int* flag)
        : m_flag(flag)
    {
    }

    // A caller without a flag cannot ask for cancellation.
    [[nodiscard]] bool IsCleared() const { return m_flag != nullptr && Load() == 0; }
    void Restore() const
    {
        if (m_flag != nullptr) {
            std::atomic_ref<int>(*m_flag).store(1, std::memory_order_relaxed);
        }
    }
    [[nodiscard]] int Value() const { return m_flag != nullptr ? Load() : 1; }

private:
    [[nodiscard]] int Load() const { return std::atomic_ref<int>(*m_flag).load(std::memory_order_relaxed); }

    int* m_flag;
};

} // namespace cipherwell
