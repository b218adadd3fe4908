#pragma once

#include "CipherWell.h"
#include "PumpLoop.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace cipherwell {

// One file encryption or decryption as the exported functions receive it.
struct FileJob
{
    const CipherWellTarget* window = nullptr;
    std::int64_t tag = 0;
    std::filesystem::path source;
    std::filesystem::path target;
    std::string_view passPhrase;
    int* continueFlag = nullptr;
    std::uint32_t intervalMs = 0;
    TickSource ticks = SteadyMilliseconds;
};

// Both return the exported functions' results. I/O failures raise CipherError; by then any partial target
// has been removed again.
[[nodiscard]] int EncryptFile(const FileJob& job);
[[nodiscard]] int DecryptFile(const FileJob& job);

} // namespace cipherwell
