#include "transfer/ReceiveFlow.h"

#include "transfer/TransferTexts.h"

#include "AppUserDic.h"

#include <platform/BoundaryGuard.h>

namespace deskwarden::transfer {
namespace {

std::string WithPath(std::string_view pattern, const std::string& path)
{
    std::string text(pattern);
    const std::size_t at = text.find("%s");
    return at == std::string::npos ? text : text.replace(at, 2, path);
}

ReceiveOutcome Receive(const TransferMessage& message, const users::UserStores& stores, ReceiveOperator& receiver)
{
    ReceiveOutcome outcome;
    if (!receiver.AcceptTransfer(message)) {
        outcome.reply = kReplyCancel;
        return outcome;
    }
    outcome.accepted = true;
    if (stores.users.VerifyUserInfo(message.id) >= 0 && !receiver.ConfirmReplace(message.id)) {
        outcome.import.error = "user \"" + message.id + "\" kept";
        return outcome;
    }
    outcome.import = ImportUser(message, stores);
    if (!outcome.import.failedPath.empty()) {
        receiver.ModelFileFailed(ModelFileFailureText(outcome.import.failedPath));
    }
    if (outcome.import.imported) {
        outcome.reply = kReplyDone;
    }
    return outcome;
}

} // namespace

ReceiveOutcome ReceiveUser(
    const TransferMessage& message, const users::UserStores& stores, ReceiveOperator& receiver) noexcept
{
    ReceiveOutcome failed;
    return platform::GuardedOr([&] { return Receive(message, stores, receiver); },
        [&] {
            failed.import.error = platform::CurrentExceptionText();
            return failed;
        });
}

std::string ModelFileFailureText(const std::string& path)
{
    return WithPath(kCannotCreateModel, path);
}

std::string ModelFileUnreadableText(const std::string& path)
{
    return WithPath(kCannotOpenModel, path);
}

} // namespace deskwarden::transfer
