#pragma once

#include <QIcon>

namespace deskwarden::users {

struct UserRow;

/** The picture at the start of a user-list row: administrator, general user, or account not yet registered. */
QIcon UserRowIcon(const UserRow& row);

/** The picture a permission column shows for a granted permission. */
QIcon PermissionCheckIcon();

} // namespace deskwarden::users
