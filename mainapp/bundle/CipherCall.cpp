#include "bundle/CipherCall.h"

#include "bundle/TempFiles.h"

#include "Crypto.h"

namespace deskwarden::bundle::cipher_call {
namespace {

constexpr unsigned int kProgressIntervalMs = 200;

/** What the library's callbacks reach: the call's own flag, kept in step with the job's. */
struct CallState
{
    StopControl& stop;
    const ByteCounter& counter;
    int flag = 1; // read and written only on the enciphering thread
    std::uint64_t sourceBytes = 0;
};

/** The size of the container of `plainBytes` bytes: salt, then the padded key check, data and check value. */
std::uint64_t ContainerSize(std::uint64_t plainBytes)
{
    return 8 + 8 * ((plainBytes + 28) / 8 + 1);
}

/**
 * The encryptor returns the flag as it finds it at its end, so a stop request that arrives with its last
 * progress call reads as 0 although every byte was written. The container's exact size tells the two apart.
 */
bool FinishedDespiteFlag(const CallState& state, const std::string& target)
{
    return state.flag == 0 && !state.stop.Aborted()
        && temp_files::SizeOf(target) == static_cast<std::int64_t>(ContainerSize(state.sourceBytes));
}

void OnPost(void* context, unsigned int message, std::int64_t wParam, std::int64_t lParam)
{
    auto& state = *static_cast<CallState*>(context);
    if (message == kCipherWellProgressMessage && wParam > 0 && state.counter) {
        state.counter(static_cast<std::uint64_t>(wParam));
    }
    if (message == kCipherWellProgressMessage) {
        state.sourceBytes = static_cast<std::uint64_t>(lParam);
    }
    if (state.stop.FlagCleared() || state.stop.Aborted()) {
        state.flag = 0;
    }
}

int OnAsk(void* context, const char*, const char*)
{
    auto& state = *static_cast<CallState*>(context);
    if (state.stop.Aborted()) {
        return 1;
    }
    return state.stop.ShouldStop() ? 1 : 0;
}

using LibraryCall = int (CCrypto::*)(const CipherWellTarget*, std::int64_t, const std::string&, const std::string&,
    const std::string&, int*, unsigned int) const;

Outcome Run(LibraryCall call, const std::string& source, const std::string& target, StopControl& stop,
    const ByteCounter& counter)
{
    if (stop.Aborted()) {
        return Outcome::Stopped;
    }
    CallState state {stop, counter};
    const CipherWellTarget window {OnPost, &state, OnAsk, &state};
    const CCrypto crypto;
    const int result
        = (crypto.*call)(&window, 0, source, target, CCrypto::GetProcessKey(), &state.flag, kProgressIntervalMs);
    if (result != 0 || (call == &CCrypto::EncryptFileA && FinishedDespiteFlag(state, target))) {
        return Outcome::Done;
    }
    return stop.Aborted() ? Outcome::Stopped : Outcome::Failed;
}

} // namespace

Outcome Encipher(const std::string& source, const std::string& target, StopControl& stop, const ByteCounter& counter)
{
    return Run(&CCrypto::EncryptFileA, source, target, stop, counter);
}

Outcome Decipher(const std::string& source, const std::string& target, StopControl& stop, const ByteCounter& counter)
{
    return Run(&CCrypto::DecryptFileA, source, target, stop, counter);
}

} // namespace deskwarden::bundle::cipher_call
