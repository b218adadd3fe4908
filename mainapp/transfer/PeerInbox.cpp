#include "transfer/PeerInbox.h"

namespace deskwarden::transfer {
namespace {

/** Whether `bytes` begin `tag` or are `tag` followed by more. */
bool Begins(std::string_view bytes, std::string_view tag)
{
    const std::size_t seen = bytes.size() < tag.size() ? bytes.size() : tag.size();
    return bytes.substr(0, seen) == tag.substr(0, seen);
}

} // namespace

PeerInbox::State PeerInbox::Feed(std::string_view bytes)
{
    if (m_state != State::Waiting) {
        return m_state;
    }
    if (bytes.size() > MaxMessageSize() - m_buffer.size()) {
        m_buffer.clear();
        return m_state = State::Dropped;
    }
    m_buffer.append(bytes);
    m_state = Decide();
    if (m_state == State::Waiting && Begins(m_buffer, kTransferTag)) {
        m_state = DecideTransfer();
    }
    if (m_state != State::Waiting) {
        m_buffer.clear();
    }
    if (m_state == State::Dropped) {
        m_message = {};
    }
    return m_state;
}

PeerInbox::State PeerInbox::Decide() const
{
    for (const auto& [reply, state] : {std::pair {kReplyDone, State::Done}, {kReplyCancel, State::Cancelled}}) {
        if (Begins(m_buffer, reply)) {
            if (m_buffer.size() < reply.size()) {
                return State::Waiting;
            }
            return m_buffer.size() == reply.size() ? state : State::Dropped;
        }
    }
    return Begins(m_buffer, kTransferTag) ? State::Waiting : State::Dropped;
}

PeerInbox::State PeerInbox::DecideTransfer()
{
    std::size_t used = 0;
    switch (ParseMessage(m_buffer, m_message, used)) {
    case ParseResult::Incomplete:
        return State::Waiting;
    case ParseResult::Complete:
        return used == m_buffer.size() ? State::Transfer : State::Dropped;
    case ParseResult::Malformed:
        break;
    }
    return State::Dropped;
}

} // namespace deskwarden::transfer
