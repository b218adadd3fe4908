#pragma once

#include "transfer/TransferMessage.h"
#include "transfer/UserImport.h"
#include "users/UserStores.h"

#include <string>

namespace deskwarden::transfer {

/** Whoever receives a user: the tray program's dialogs or the terminal of the command line. */
class ReceiveOperator
{
public:
    virtual ~ReceiveOperator() = default;
    /** Shown the sender and the user; false declines the transfer. */
    virtual bool AcceptTransfer(const TransferMessage& message) = 0;
    /** Asked before user `id`, who exists already, is replaced; false keeps him. */
    virtual bool ConfirmReplace(const std::string& id) = 0;
    /** Told that the import stopped at a model file it could not write. */
    virtual void ModelFileFailed(const std::string& text) = 0;
};

/** What the receiver does after one message, and the reply it sends (empty for none). */
struct ReceiveOutcome
{
    bool accepted = false;
    ImportResult import;
    std::string reply;
};

/**
 * The receiver's side of one transfer: asks the operator, replies "RECEIVED CANCEL" when he declines, keeps
 * an existing user without a reply when he does not want him replaced, imports, and replies
 * "RECEIVED DONE! " only when the user and every model are stored.
 */
ReceiveOutcome ReceiveUser(
    const TransferMessage& message, const users::UserStores& stores, ReceiveOperator& receiver) noexcept;

/** The text shown when a model file cannot be written, with its path. */
std::string ModelFileFailureText(const std::string& path);

/** The text shown when a model file cannot be read for sending, with its path. */
std::string ModelFileUnreadableText(const std::string& path);

} // namespace deskwarden::transfer
