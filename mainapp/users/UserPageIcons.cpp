#include "users/UserPageIcons.h"

#include "users/UserList.h"
#include "users/UserStrings.h"

#include "art/ArtNames.h"

namespace deskwarden::users {
namespace {

QIcon ArtIcon(const char* resource)
{
    art::EnsureLoaded();
    return QIcon(QString::fromUtf8(resource));
}

} // namespace

QIcon UserRowIcon(const UserRow& row)
{
    if (row.IsAccountOnly()) {
        static const QIcon accountOnly = ArtIcon(art::kRowAccount);
        return accountOnly;
    }
    if (row.groupStringId == kGroupAdministrator) {
        static const QIcon administrator = ArtIcon(art::kRowAdmin);
        return administrator;
    }
    static const QIcon general = ArtIcon(art::kRowUser);
    return general;
}

QIcon PermissionCheckIcon()
{
    static const QIcon check = ArtIcon(art::kCheck);
    return check;
}

} // namespace deskwarden::users
