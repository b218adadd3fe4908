#pragma once

#include <QIcon>

namespace deskwarden::app {

/** The program's icon in every size it is drawn in, so that each place picks the sharpest. */
QIcon ProgramIcon();

} // namespace deskwarden::app
