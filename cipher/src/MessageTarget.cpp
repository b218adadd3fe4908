#include "MessageTarget.h"

namespace cipherwell {
namespace {

constexpr const char* kCancelQuestion = "作業を中止しますか?";
constexpr const char* kCaption = "Marlow Desk Warden";

std::int64_t ToSigned(std::uint64_t count)
{
    return static_cast<std::int64_t>(count);
}

} // namespace

void MessageTarget::PostStart(std::int64_t tag) const
{
    Post(kCipherWellStartMessage, tag, 0);
}

void MessageTarget::PostProgress(std::uint64_t bytesSinceLast, std::uint64_t bytesSinceStart) const
{
    Post(kCipherWellProgressMessage, ToSigned(bytesSinceLast), ToSigned(bytesSinceStart));
}

bool MessageTarget::ConfirmCancellation() const
{
    if (m_target == nullptr || m_target->ask == nullptr) {
        return true;
    }
    return m_target->ask(m_target->askContext, kCancelQuestion, kCaption) != 0;
}

void MessageTarget::Post(unsigned int message, std::int64_t wParam, std::int64_t lParam) const
{
    if (m_target != nullptr && m_target->post != nullptr) {
        m_target->post(m_target->postContext, message, wParam, lParam);
    }
}

} // namespace cipherwell
