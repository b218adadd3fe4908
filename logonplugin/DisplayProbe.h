#pragma once

#include <optional>
#include <string>

namespace wardengate {

/**
 * True when a window can be shown: QT_QPA_PLATFORM or WAYLAND_DISPLAY is set and not empty, or DISPLAY is
 * and its X server lets this process in. The window system would end the whole host process on a display
 * it cannot open, so a stale DISPLAY, or one whose server refuses our credentials, counts as none.
 */
bool HasDisplay();

/** The display number of a local X display name (":0", ":1.0", "unix:2"); nullopt for any other name. */
std::optional<int> LocalDisplayNumber(const std::string& display);

/**
 * Whether the X server of `display` accepts a connection on its socket in `socketFolder` (X followed by
 * the display number). Names that are not local are taken as reachable: only their server can tell.
 */
bool XDisplayAccepts(const std::string& display, const std::string& socketFolder = "/tmp/.X11-unix");

/**
 * Whether the X server of `display` lets this process in: it completes the connection setup with the
 * credentials of XAUTHORITY (or the user's default authority file). A server that has not answered within
 * `waitMs` counts as refusing; its connection attempt is then left to end on its own.
 */
bool XServerAdmits(const std::string& display, int waitMs = 3000);

} // namespace wardengate
