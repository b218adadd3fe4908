#include "users/OutcomeReport.h"

#include "users/UserStrings.h"

#include "MessageService.h"

namespace deskwarden::users {

void ReportOutcome(const Outcome& outcome)
{
    if (outcome.message.text.empty()) {
        return;
    }
    CMessageService::Report(
        kProductCaption, outcome.message.text, outcome.done ? MessageIcon::Information : MessageIcon::Warning);
}

} // namespace deskwarden::users
