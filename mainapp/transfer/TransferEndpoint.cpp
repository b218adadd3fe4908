#include "transfer/TransferEndpoint.h"

#include <platform/Environment.h>

namespace deskwarden::transfer {

bool ParsePort(const std::string& text, std::uint16_t& port)
{
    if (text.empty() || text.size() > 5) {
        return false;
    }
    unsigned long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    if (value == 0 || value > 65535) {
        return false;
    }
    port = static_cast<std::uint16_t>(value);
    return true;
}

std::uint16_t TransferPort()
{
    std::uint16_t port = kDefaultPort;
    const auto text = platform::EnvironmentText("WARDEN_TRANSFER_PORT");
    return text && ParsePort(*text, port) ? port : kDefaultPort;
}

std::string ListenAddress()
{
    return platform::EnvironmentText("WARDEN_TRANSFER_ADDRESS").value_or("");
}

bool ParseEndpoint(const std::string& text, Endpoint& endpoint)
{
    const std::size_t colon = text.rfind(':');
    Endpoint parsed {text, TransferPort()};
    if (colon != std::string::npos) {
        parsed.host = text.substr(0, colon);
        if (!ParsePort(text.substr(colon + 1), parsed.port)) {
            return false;
        }
    }
    if (parsed.host.empty()) {
        return false;
    }
    endpoint = parsed;
    return true;
}

} // namespace deskwarden::transfer
