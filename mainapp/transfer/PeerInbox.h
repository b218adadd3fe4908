#pragma once

#include "transfer/TransferMessage.h"

#include <string>
#include <string_view>

namespace deskwarden::transfer {

/** A peer that has not finished its message by then is dropped, so a silent peer holds nothing for long. */
inline constexpr int kPeerDeadlineMs = 15000;
/** Connections kept at once; further ones are closed as they arrive, so a flood cannot exhaust the program. */
inline constexpr int kMaxPeers = 8;

/**
 * Collects what one connection receives and decides, as soon as the bytes allow, what the peer sent: a
 * transfer message or one of the two replies. Anything else, and anything after a whole message, drops
 * the peer: a message is taken only when it is complete and exactly as long as its lengths say.
 */
class PeerInbox
{
public:
    enum class State
    {
        Waiting, // a true beginning of something known
        Transfer, // Message() holds the user
        Done, // "RECEIVED DONE! "
        Cancelled, // "RECEIVED CANCEL"
        Dropped, // malformed, unknown, oversized or followed by more bytes
    };

    /** Adds `bytes` and tells the state; once it is no longer Waiting it stays as it is. */
    State Feed(std::string_view bytes);

    State Current() const { return m_state; }
    const TransferMessage& Message() const { return m_message; }

private:
    State Decide() const;
    State DecideTransfer();

    std::string m_buffer;
    TransferMessage m_message;
    State m_state = State::Waiting;
};

} // namespace deskwarden::transfer
