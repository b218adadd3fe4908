#pragma once

#include "transfer/TransferMessage.h"
#include "users/UserStores.h"

#include <string>

namespace deskwarden::transfer {

/** The sending computer as the receiver shows it. */
struct LocalIdentity
{
    std::string host; // upper case
    std::string address; // dotted, empty when the host name has no IPv4 address
};

/** This computer's host name, upper-cased, and the first IPv4 address of that name. */
LocalIdentity ThisComputer();

/**
 * Builds the message that carries user `id`: his record and the model of each of his first six voices,
 * which the voice dictionary writes to its work folder and which is removed again at once.
 * @return false when the user is unknown (`error` says so) or a model file cannot be read back
 *         (`failedPath` names it, `error` says why).
 */
[[nodiscard]] bool BuildMessage(const std::string& id, const LocalIdentity& from, const users::UserStores& stores,
    TransferMessage& message, std::string& failedPath, std::string& error) noexcept;

} // namespace deskwarden::transfer
