#pragma once

#include <cstdint>
#include <string>

namespace deskwarden::transfer {

inline constexpr std::uint16_t kDefaultPort = 8373;

/** The port both sides use: WARDEN_TRANSFER_PORT when it names one, else 8373. */
std::uint16_t TransferPort();

/** The address the program listens on: WARDEN_TRANSFER_ADDRESS, or "" for every address. */
std::string ListenAddress();

/** A receiver named on the command line. */
struct Endpoint
{
    std::string host;
    std::uint16_t port = kDefaultPort;
};

/** Reads "HOST" or "HOST:PORT" (port 1 to 65535); the port defaults to TransferPort(). @return false on bad text. */
[[nodiscard]] bool ParseEndpoint(const std::string& text, Endpoint& endpoint);

/** Reads a port number 1 to 65535. @return false on any other text. */
[[nodiscard]] bool ParsePort(const std::string& text, std::uint16_t& port);

} // namespace deskwarden::transfer
