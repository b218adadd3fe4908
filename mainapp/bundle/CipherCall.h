#pragma once

#include "bundle/JobControl.h"

#include <functional>
#include <string>

namespace deskwarden::bundle::cipher_call {

enum class Outcome
{
    Done,
    Stopped, // the user confirmed a stop, or the job was aborted
    Failed,
};

/** Told the source bytes processed since the previous call, from the enciphering thread. */
using ByteCounter = std::function<void(std::uint64_t bytes)>;

/**
 * Enciphers `source` into `target` under the process key. The job's continue flag reaches the library
 * through its progress calls, and the library's stop question goes to the job's StopControl.
 */
Outcome Encipher(const std::string& source, const std::string& target, StopControl& stop, const ByteCounter& counter);

/** Deciphers `source` into `target`; Done only when the check value matched. */
Outcome Decipher(const std::string& source, const std::string& target, StopControl& stop, const ByteCounter& counter);

} // namespace deskwarden::bundle::cipher_call
