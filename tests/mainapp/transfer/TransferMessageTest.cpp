#include "transfer/TransferMessage.h"
#include "transfer/PeerInbox.h"
#include "transfer/TransferEndpoint.h"

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

using namespace deskwarden::transfer;

TransferMessage UserWith(const std::string& voiceList, std::size_t models)
{
    TransferMessage message {
        "HOST-A", "127.0.0.1", "Tanaka Ichiro", "tanaka", "0A1B2C3D4E5Ftanaka", "pw;x", voiceList, {}};
    for (std::size_t i = 0; i < models; ++i) {
        message.models.push_back(std::string("SLfmt ") + std::string(100 + i, static_cast<char>('a' + i)));
    }
    return message;
}

std::string Encoded(const TransferMessage& message)
{
    std::string bytes;
    std::string error;
    EXPECT_TRUE(EncodeMessage(message, bytes, error)) << error;
    return bytes;
}

void PutLittleEndian(std::string& bytes, std::size_t at, std::size_t value, int size)
{
    for (int i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

class MessageShapes : public ::testing::TestWithParam<std::pair<std::string, std::size_t>>
{
};

TEST_P(MessageShapes, RoundTripsAndEveryTruncationWaitsForMore)
{
    const TransferMessage sent = UserWith(GetParam().first, GetParam().second);
    const std::string bytes = Encoded(sent);
    TransferMessage received;
    std::size_t used = 0;
    ASSERT_EQ(ParseMessage(bytes, received, used), ParseResult::Complete);
    EXPECT_EQ(received, sent);
    EXPECT_EQ(used, bytes.size());
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        TransferMessage untouched;
        ASSERT_EQ(ParseMessage(std::string_view(bytes).substr(0, length), untouched, used), ParseResult::Incomplete)
            << "at length " << length;
        ASSERT_EQ(untouched, TransferMessage {}) << "at length " << length;
    }
}

INSTANTIATE_TEST_SUITE_P(Voices, MessageShapes,
    ::testing::Values(std::pair {std::string(), std::size_t {0}}, std::pair {std::string("aaj"), std::size_t {1}},
        std::pair {std::string("aaj,abj,acj,adj,aej,afj"), std::size_t {6}},
        std::pair {std::string("aaj,abj,acj,adj,aej,afj,aaj"), std::size_t {6}}));

TEST(TransferMessage, SevenVoiceNamesTravelWithSixModels)
{
    EXPECT_EQ(ModelCount("aaj,abj,acj,adj,aej,afj,aaj"), 6u);
    EXPECT_EQ(ModelCount(""), 0u);
    EXPECT_EQ(VoiceNames("aaj,,abj"), (std::vector<std::string> {"aaj", "", "abj"}));
    std::string bytes;
    std::string error;
    EXPECT_FALSE(EncodeMessage(UserWith("aaj,abj", 1), bytes, error));
    TransferMessage tooLong = UserWith("aaj", 1);
    tooLong.models[0].assign(kMaxModelBytes + 1, 'x');
    EXPECT_FALSE(EncodeMessage(tooLong, bytes, error));
}

TEST(TransferMessage, LengthsBeyondTheirBoundsAreMalformedAtOnce)
{
    const std::string bytes = Encoded(UserWith("aaj", 1));
    const std::size_t hostLength = kTagSize;
    const std::size_t voiceListLength = bytes.size() - (4 + 106) - (4 + 3);
    const std::size_t modelLength = bytes.size() - (4 + 106);
    struct Case
    {
        std::size_t at;
        std::size_t value;
        int size;
    };
    for (const Case& c :
        {Case {hostLength, 0xFFFF, 2}, Case {hostLength, kMaxShortField + 1, 2}, Case {voiceListLength, 0xFFFFFFFF, 4},
            Case {modelLength, kMaxModelBytes + 1, 4}, Case {modelLength, 0x80000000, 4}}) {
        std::string damaged = bytes;
        PutLittleEndian(damaged, c.at, c.value, c.size);
        TransferMessage message;
        std::size_t used = 0;
        // Cut right after the damaged length: the receiver must not wait for bytes it would never take.
        EXPECT_EQ(
            ParseMessage(std::string_view(damaged).substr(0, c.at + c.size), message, used), ParseResult::Malformed)
            << "length at " << c.at;
    }
    TransferMessage message;
    std::size_t used = 0;
    EXPECT_EQ(ParseMessage("MODEL TRANSFER!", message, used), ParseResult::Malformed);
    EXPECT_EQ(ParseMessage("GET / HTTP/1.0\r\n", message, used), ParseResult::Malformed);
}

TEST(PeerInbox, TellsMessagesAndRepliesFromAnythingElse)
{
    const std::string message = Encoded(UserWith("aaj,abj", 2));
    PeerInbox byteByByte;
    for (std::size_t i = 0; i + 1 < message.size(); ++i) {
        ASSERT_EQ(byteByByte.Feed(message.substr(i, 1)), PeerInbox::State::Waiting);
    }
    EXPECT_EQ(byteByByte.Feed(message.substr(message.size() - 1)), PeerInbox::State::Transfer);
    EXPECT_EQ(byteByByte.Message().id, "tanaka");
    EXPECT_EQ(byteByByte.Feed("more"), PeerInbox::State::Transfer);

    const std::vector<std::pair<std::string, PeerInbox::State>> cases = {
        {"RECEIVED DONE! ", PeerInbox::State::Done},
        {"RECEIVED CANCEL", PeerInbox::State::Cancelled},
        {"RECEIVED ", PeerInbox::State::Waiting},
        {"RECEIVED CANCEL!", PeerInbox::State::Dropped},
        {"RECEIVED NOTHING", PeerInbox::State::Dropped},
        {"hello", PeerInbox::State::Dropped},
        {message + "x", PeerInbox::State::Dropped},
    };
    for (const auto& [bytes, state] : cases) {
        PeerInbox inbox;
        EXPECT_EQ(inbox.Feed(bytes), state) << bytes.substr(0, 20);
    }
    PeerInbox flooded;
    EXPECT_EQ(flooded.Feed(std::string(MaxMessageSize() + 1, 'M')), PeerInbox::State::Dropped);
}

TEST(TransferEndpoint, ReadsHostAndPort)
{
    Endpoint endpoint;
    ASSERT_TRUE(ParseEndpoint("127.0.0.1:9000", endpoint));
    EXPECT_EQ(endpoint.host, "127.0.0.1");
    EXPECT_EQ(endpoint.port, 9000);
    ASSERT_TRUE(ParseEndpoint("peer", endpoint));
    EXPECT_EQ(endpoint.host, "peer");
    for (const char* bad : {"", ":80", "peer:", "peer:0", "peer:65536", "peer:8x", "peer:123456"}) {
        EXPECT_FALSE(ParseEndpoint(bad, endpoint)) << bad;
    }
}

} // namespace
} // namespace deskwarden::test
