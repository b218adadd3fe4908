// libFuzzer target for the transfer message parser and the peer inbox: whatever arrives, nothing is read
// past the data, a message taken is exactly what its lengths say and lays out again byte for byte, and the
// inbox decides the same however the bytes are split into reads, as long as no earlier read decided already.
#include "transfer/PeerInbox.h"
#include "transfer/TransferMessage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace deskwarden::transfer;

void Require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void CheckParse(std::string_view bytes)
{
    TransferMessage message;
    std::size_t used = 0;
    if (ParseMessage(bytes, message, used) != ParseResult::Complete) {
        return;
    }
    Require(used <= bytes.size());
    std::string again;
    std::string error;
    Require(EncodeMessage(message, again, error));
    Require(again == bytes.substr(0, used));
}

void CheckInbox(std::string_view bytes)
{
    PeerInbox whole;
    const PeerInbox::State once = whole.Feed(bytes);
    // The first byte picks where the data is split into two reads.
    const std::size_t cut = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % (bytes.size() + 1);
    PeerInbox split;
    const PeerInbox::State first = split.Feed(bytes.substr(0, cut));
    const PeerInbox::State twice = split.Feed(bytes.substr(cut));
    // A read that ends a message decides by itself: what follows it is not read.
    Require(first != PeerInbox::State::Waiting || once == twice);
    if (once == PeerInbox::State::Transfer) {
        Require(whole.Message() == split.Message());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A copy of exactly `size` bytes, so that the sanitizer sees any read past the end.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckParse(bytes);
    CheckInbox(bytes);
    return 0;
}
