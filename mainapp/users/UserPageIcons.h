#pragma once

#include <QIcon>

namespace deskwarden::users {

struct UserRow;

/** The image at the start of a user-list row: administrator, general user, or account not yet registered. */
QIcon UserRowIcon(const UserRow& row);

/** The image a permission column shows for a granted permission. */
QIcon PermissionCheckIcon();

} // namespace deskwarden::users
