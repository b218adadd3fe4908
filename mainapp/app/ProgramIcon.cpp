#include "app/ProgramIcon.h"

#include "art/ArtNames.h"

namespace deskwarden::app {

QIcon ProgramIcon()
{
    QIcon icon;
    for (const char* picture : art::kIcons)
        icon.addFile(QString::fromUtf8(picture));
    return icon;
}

} // namespace deskwarden::app
