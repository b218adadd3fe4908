#pragma once

#include "rules/DisplaySettings.h"

#include <string>
#include <vector>

class CSetupFile;

namespace screenveil {

/** Everything the lock screen shows, read once when it locks. */
struct LockContent
{
    DisplaySettings display;
    std::string comment;
    std::vector<std::string> pictures; // existing files, in list order, at most kMostSlides
};

/** The most pictures a slide show holds; a longer list is cut there. */
inline constexpr std::size_t kMostSlides = 1024;

/** Reads the display settings from the settings file's "SCREEN_SAVER" section, defaults for what is missing. */
DisplaySettings ReadDisplaySettings(const CSetupFile& setup);
/** Writes the display settings (colours as "%d,%d,%d", "FullSize" and "WaitTime"). @return false on a failed write. */
bool WriteDisplaySettings(CSetupFile& setup, const DisplaySettings& display);

/** The display settings, the comment and the picture list. */
LockContent ReadLockContent(const CSetupFile& setup);

} // namespace screenveil
