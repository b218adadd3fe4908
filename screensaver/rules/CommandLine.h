#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace screenveil {

/** What a start of the program is asked to do. */
enum class StartAction
{
    Preview, // draw a small slide show inside a window given by its id
    Settings, // the settings dialog
    SystemStart, // asked by the desktop's idle timer: hand the lock over to the tray program
    Exit, // end at once
    Lock, // lock the screen now
};

struct StartRequest
{
    StartAction action = StartAction::Lock;
    std::uint64_t previewWindow = 0; // the window a preview draws into; 0 when none was named
};

/**
 * Reads the arguments after the program name. Only the first one decides; the second names the preview's
 * window. Letters are compared as written ("/S" locks), and an unknown or missing argument locks, so a
 * mistyped start never leaves the screen open.
 */
StartRequest ParseCommandLine(const std::vector<std::string>& arguments);

} // namespace screenveil
