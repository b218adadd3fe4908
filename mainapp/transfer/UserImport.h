#pragma once

#include "transfer/TransferMessage.h"
#include "users/UserStores.h"

#include <string>

namespace deskwarden::transfer {

/** How an import ended. */
struct ImportResult
{
    bool imported = false;
    bool replaced = false; // an existing user of the same ID was removed first
    std::size_t models = 0; // voice models stored
    std::string failedPath; // the model file that could not be written, when that stopped the import
    std::string error; // why the import stopped
};

/** Whether `message` could be imported as it is: a usable ID and texts, and each voice one of the six words. */
[[nodiscard]] bool IsImportable(const TransferMessage& message, std::string& error);

/**
 * Makes the received user a general user without rights: replaces a user of the same ID (his account, record
 * and voice slot), creates a disabled account in "Users" on the NT family (its failures do not stop the
 * import), the record with the first voice, the voice slot, then each further voice and every model. A
 * message that is not importable changes nothing; a later failure takes back what this import created, so
 * no user is left without his models.
 */
ImportResult ImportUser(const TransferMessage& message, const users::UserStores& stores) noexcept;

} // namespace deskwarden::transfer
