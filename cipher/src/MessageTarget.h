#pragma once

#include "CipherWell.h"

#include <cstdint>

namespace cipherwell {

// Speaks to the caller's message target; a null target (or a null function in it) hears nothing.
class MessageTarget
{
public:
    explicit MessageTarget(const CipherWellTarget* target)
        : m_target(target)
    {
    }

    void PostStart(std::int64_t tag) const;
    void PostProgress(std::uint64_t bytesSinceLast, std::uint64_t bytesSinceStart) const;
    // True when the work is to stop. Nobody can answer without an ask function, and a caller that cleared
    // its flag without offering one has asked to stop: that counts as Yes.
    [[nodiscard]] bool ConfirmCancellation() const;

private:
    void Post(unsigned int message, std::int64_t wParam, std::int64_t lParam) const;

    const CipherWellTarget* m_target;
};

} // namespace cipherwell
