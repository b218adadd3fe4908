#pragma once

#include "users/UserProcedures.h"

namespace deskwarden::users {

/** Shows an outcome's text, if it has one, in a message box: information when done, a warning when not. */
void ReportOutcome(const Outcome& outcome);

} // namespace deskwarden::users
