#include "bundle/BundleJob.h"

#include "bundle/JobControl.h"
#include "bundle/PackJob.h"
#include "bundle/UnpackJob.h"

#include <platform/BoundaryGuard.h>

#include <algorithm>
#include <optional>
#include <thread>

namespace deskwarden::bundle {

struct BundleJob::State
{
    std::optional<EncryptRequest> encrypt;
    std::optional<DecryptRequest> decrypt;
    JobObserver& observer;
    std::atomic<int>& continueFlag;
    unsigned cipherThreads = std::max(1u, std::thread::hardware_concurrency());
    std::string error;
};

BundleJob::BundleJob(EncryptRequest request, JobObserver& observer, std::atomic<int>& continueFlag)
    : m_state(new State {std::move(request), std::nullopt, observer, continueFlag,
        std::max(1u, std::thread::hardware_concurrency()), {}})
{
}

BundleJob::BundleJob(DecryptRequest request, JobObserver& observer, std::atomic<int>& continueFlag)
    : m_state(new State {std::nullopt, std::move(request), observer, continueFlag,
        std::max(1u, std::thread::hardware_concurrency()), {}})
{
}

BundleJob::~BundleJob() = default;

void BundleJob::SetCipherThreads(unsigned count) noexcept
{
    m_state->cipherThreads = std::max(1u, count);
}

unsigned BundleJob::CipherThreads() const noexcept
{
    return m_state->cipherThreads;
}

const std::string& BundleJob::ErrorText() const noexcept
{
    return m_state->error;
}

int BundleJob::Run() noexcept
{
    State& state = *m_state;
    SerialObserver observer(state.observer);
    StopControl stop(state.continueFlag, observer);
    state.error.clear();
    const int result = platform::Guarded(kJobFailed, state.error, [&] {
        return state.encrypt ? RunPack(*state.encrypt, observer, stop, state.cipherThreads, state.error)
                             : RunUnpack(*state.decrypt, observer, stop, state.cipherThreads, state.error);
    });
    if (result == kJobSucceeded) {
        state.error.clear();
    }
    platform::GuardedCall([&] { observer.Ended(result); });
    return result;
}

} // namespace deskwarden::bundle
