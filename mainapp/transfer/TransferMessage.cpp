#include "transfer/TransferMessage.h"

#include <cstdint>

namespace deskwarden::transfer {
namespace {

void PutLength(std::string& out, std::size_t length, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
    }
}

bool PutField(std::string& out, std::string_view text, int lengthBytes, std::size_t bound)
{
    if (text.size() > bound) {
        return false;
    }
    PutLength(out, text.size(), lengthBytes);
    out.append(text);
    return true;
}

/** Reads the fields one by one and remembers whether the data ran out or broke a bound. */
class FieldReader
{
public:
    explicit FieldReader(std::string_view bytes)
        : m_bytes(bytes)
    {
    }

    bool Field(std::string& text, int lengthBytes, std::size_t bound)
    {
        std::uint64_t length = 0;
        if (!Length(length, lengthBytes)) {
            return false;
        }
        if (length > bound) {
            m_malformed = true;
            return false;
        }
        if (m_bytes.size() - m_pos < length) {
            return false;
        }
        text.assign(m_bytes.substr(m_pos, static_cast<std::size_t>(length)));
        m_pos += static_cast<std::size_t>(length);
        return true;
    }

    bool Malformed() const { return m_malformed; }
    std::size_t Position() const { return m_pos; }

private:
    bool Length(std::uint64_t& length, int lengthBytes)
    {
        if (m_bytes.size() - m_pos < static_cast<std::size_t>(lengthBytes)) {
            return false;
        }
        for (int i = 0; i < lengthBytes; ++i) {
            length |= std::uint64_t {static_cast<unsigned char>(m_bytes[m_pos + i])} << (8 * i);
        }
        m_pos += static_cast<std::size_t>(lengthBytes);
        return true;
    }

    std::string_view m_bytes;
    std::size_t m_pos = kTagSize;
    bool m_malformed = false;
};

ParseResult ParseTag(std::string_view bytes)
{
    const std::size_t seen = bytes.size() < kTagSize ? bytes.size() : kTagSize;
    if (bytes.substr(0, seen) != kTransferTag.substr(0, seen)) {
        return ParseResult::Malformed;
    }
    return seen == kTagSize ? ParseResult::Complete : ParseResult::Incomplete;
}

} // namespace

std::vector<std::string> VoiceNames(std::string_view voiceList)
{
    std::vector<std::string> names;
    if (voiceList.empty()) {
        return names;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = voiceList.find(',', start);
        names.emplace_back(voiceList.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) {
            return names;
        }
        start = comma + 1;
    }
}

std::size_t ModelCount(std::string_view voiceList)
{
    const std::size_t names = VoiceNames(voiceList).size();
    return names < kMaxModels ? names : kMaxModels;
}

std::size_t MaxMessageSize()
{
    return kTagSize + 6 * (2 + kMaxShortField) + 4 + kMaxVoiceList + kMaxModels * (4 + kMaxModelBytes);
}

bool EncodeMessage(const TransferMessage& message, std::string& bytes, std::string& error)
{
    if (message.models.size() != ModelCount(message.voiceList)) {
        error = "the models do not match the voice list";
        return false;
    }
    std::string out(kTransferTag);
    bool fits = true;
    for (const std::string* text :
        {&message.host, &message.address, &message.name, &message.id, &message.certiKey, &message.password}) {
        fits = fits && PutField(out, *text, 2, kMaxShortField);
    }
    fits = fits && PutField(out, message.voiceList, 4, kMaxVoiceList);
    for (const std::string& model : message.models) {
        fits = fits && PutField(out, model, 4, kMaxModelBytes);
    }
    if (!fits) {
        error = "a field of user \"" + message.id + "\" is too long to send";
        return false;
    }
    bytes = std::move(out);
    return true;
}

ParseResult ParseMessage(std::string_view bytes, TransferMessage& message, std::size_t& used)
{
    if (const ParseResult tag = ParseTag(bytes); tag != ParseResult::Complete) {
        return tag;
    }
    FieldReader reader(bytes);
    TransferMessage read;
    bool whole = true;
    for (std::string* text : {&read.host, &read.address, &read.name, &read.id, &read.certiKey, &read.password}) {
        whole = whole && reader.Field(*text, 2, kMaxShortField);
    }
    whole = whole && reader.Field(read.voiceList, 4, kMaxVoiceList);
    const std::size_t count = whole ? ModelCount(read.voiceList) : 0;
    for (std::size_t i = 0; whole && i < count; ++i) {
        whole = reader.Field(read.models.emplace_back(), 4, kMaxModelBytes);
    }
    if (reader.Malformed()) {
        return ParseResult::Malformed;
    }
    if (!whole) {
        return ParseResult::Incomplete;
    }
    used = reader.Position();
    message = std::move(read);
    return ParseResult::Complete;
}

} // namespace deskwarden::transfer
