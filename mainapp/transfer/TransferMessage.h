#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The bytes two tray programs exchange to copy one user with his voice models: the transfer message and
// its two replies. Integers are little-endian; texts travel without terminator.
namespace deskwarden::transfer {

inline constexpr std::size_t kTagSize = 15;
inline constexpr std::string_view kTransferTag = "MODEL TRANSFER?";
inline constexpr std::string_view kReplyDone = "RECEIVED DONE! ";
inline constexpr std::string_view kReplyCancel = "RECEIVED CANCEL";

/** At most this many voices travel; further names stay in the voice list without a model. */
inline constexpr std::size_t kMaxModels = 6;
/** Largest model a voice dictionary section holds; a larger one could never be stored. */
inline constexpr std::size_t kMaxModelBytes = 20655;
/** Upper bound of each 16-bit text field: far above any host, ID, key or password the stores accept. */
inline constexpr std::size_t kMaxShortField = 1024;
/** Upper bound of the voice list: six names and room for more. */
inline constexpr std::size_t kMaxVoiceList = 1024;

/** One user as he travels. `models` holds one model file per voice name, for the first six names. */
struct TransferMessage
{
    std::string host;
    std::string address;
    std::string name;
    std::string id;
    std::string certiKey;
    std::string password;
    std::string voiceList;
    std::vector<std::string> models;

    bool operator==(const TransferMessage&) const = default;
};

/** The voice names of a ','-separated list; an empty list names none. */
std::vector<std::string> VoiceNames(std::string_view voiceList);

/** How many models a message with this voice list carries: one per name, at most six. */
std::size_t ModelCount(std::string_view voiceList);

/** The largest message the receiver takes in; a peer that sends more is dropped. */
std::size_t MaxMessageSize();

/**
 * Lays out `message`.
 * @return false with `error` set when a field exceeds its bound or the models do not match the voice list.
 */
[[nodiscard]] bool EncodeMessage(const TransferMessage& message, std::string& bytes, std::string& error);

/** What the bytes received so far make of a transfer message. */
enum class ParseResult
{
    Complete, // `message` holds it and `used` its length
    Incomplete, // a true beginning: more bytes may complete it
    Malformed, // no tag, or a length beyond its bound: no more bytes can mend it
};

/** Reads one message from the start of `bytes`, never past their end; `message` is written only when complete. */
ParseResult ParseMessage(std::string_view bytes, TransferMessage& message, std::size_t& used);

} // namespace deskwarden::transfer
