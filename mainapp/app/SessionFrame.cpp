#include "app/SessionFrame.h"

namespace deskwarden::app {

namespace {

constexpr std::size_t kHeaderBytes = 8;

void PutNumber(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFFU));
}

std::uint32_t NumberAt(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

} // namespace

std::string EncodeFrame(const SessionFrame& frame)
{
    std::string bytes;
    bytes.reserve(kHeaderBytes + frame.payload.size());
    PutNumber(bytes, frame.kind);
    PutNumber(bytes, static_cast<std::uint32_t>(frame.payload.size()));
    bytes += frame.payload;
    return bytes;
}

void FrameReader::Append(std::string_view bytes)
{
    if (!m_spoiled)
        m_buffer.append(bytes);
}

std::optional<SessionFrame> FrameReader::Next()
{
    if (m_spoiled || m_buffer.size() < kHeaderBytes)
        return std::nullopt;
    const std::uint32_t length = NumberAt(m_buffer, 4);
    if (length > kLongestPayload) {
        m_spoiled = true;
        m_buffer.clear();
        return std::nullopt;
    }
    if (m_buffer.size() < kHeaderBytes + length)
        return std::nullopt;
    SessionFrame frame {NumberAt(m_buffer, 0), m_buffer.substr(kHeaderBytes, length)};
    m_buffer.erase(0, kHeaderBytes + length);
    return frame;
}

} // namespace deskwarden::app
