#pragma once

#include <string>

namespace screenveil {

/** The name the lock runs under; a start under another name (the ".scr" link) does not count as running. */
inline constexpr const char* kLockProgramName = "ScreenVeil";

/**
 * A start by the desktop's idle timer: unless a lock already runs, asks the running tray program to lock
 * the screen, so that it starts the lock itself. Without a tray program nothing happens.
 * @return true when the request was delivered.
 */
bool RequestLockFromTray(const std::string& procRoot, std::string& error);

} // namespace screenveil
