#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace deskwarden::app {

// What the programs of one session send to the running tray program over its local socket.
inline constexpr std::uint32_t kFrameShowWindow = 1; // bring the main window to the front
inline constexpr std::uint32_t kFrameHandOff = 1025; // paths to list (a hand-off text)
inline constexpr std::uint32_t kFrameLockScreen = 0x8000 + 100; // lock the screen now
inline constexpr std::uint32_t kFrameHideWindow = 0x8000 + 101; // clear the list and hide the main window

/** The longest payload a frame may carry; a longer one is refused rather than buffered. */
inline constexpr std::uint32_t kLongestPayload = 1U << 20;

/** One message: its kind and its bytes. */
struct SessionFrame
{
    std::uint32_t kind = 0;
    std::string payload;
};

/** The bytes of `frame`: kind and payload length as 32-bit big-endian numbers, then the payload. */
std::string EncodeFrame(const SessionFrame& frame);

/**
 * Collects the bytes of one connection and cuts them into frames. A payload longer than kLongestPayload
 * spoils the connection: no frame is given out after it.
 */
class FrameReader
{
public:
    void Append(std::string_view bytes);
    /** The next complete frame, or nothing while it has not arrived in full. */
    std::optional<SessionFrame> Next();
    bool Spoiled() const { return m_spoiled; }

private:
    std::string m_buffer;
    bool m_spoiled = false;
};

} // namespace deskwarden::app
