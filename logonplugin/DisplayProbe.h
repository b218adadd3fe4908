#pragma once

#include <optional>
#include <string>

namespace wardengate {

/**
 * True when a window can be shown: QT_QPA_PLATFORM or WAYLAND_DISPLAY is set and not empty, or DISPLAY is
 * and, for a display of this machine, its X server accepts a connection. The window system would end the
 * whole host process on a display it cannot reach, so a stale DISPLAY counts as none.
 */
bool HasDisplay();

/** The display number of a local X display name (":0", ":1.0", "unix:2"); nullopt for any other name. */
std::optional<int> LocalDisplayNumber(const std::string& display);

/**
 * Whether the X server of `display` accepts a connection on its socket in `socketFolder` (X followed by
 * the display number). Names that are not local are taken as reachable: only their server can tell.
 */
bool XDisplayAccepts(const std::string& display, const std::string& socketFolder = "/tmp/.X11-unix");

} // namespace wardengate
