#pragma once

#include <string>

namespace deskwarden::app {

/** Where the program is registered to start with the session, and under which value name. */
inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\run";
inline constexpr const char* kRunValueName = "MarlowSoft";

/** The program file the run value names: `<installation folder>/DeskWarden`. */
std::string RunValueText(const std::string& appPath);

/**
 * Writes the run value on every start, so that a moved installation is started from its new place.
 * @return false when the registry stand-in could not be written (the caller carries on regardless).
 */
bool WriteRunValue(const std::string& appPath);

} // namespace deskwarden::app
