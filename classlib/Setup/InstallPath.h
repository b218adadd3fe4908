#pragma once

#include <string>

// Where every program finds the installation folder: one text value in the registry stand-in.
namespace talk {

inline constexpr const char* kProductKey = "Software\\Nordvale\\DeskWarden";
inline constexpr const char* kProgramKey = "Software\\Nordvale\\DeskWarden\\Program";
inline constexpr const char* kAppPathValue = "AppPath";
/** A text value the registry helper reads holds at most this many bytes before its terminator. */
inline constexpr std::size_t kMaxRegistryTextBytes = 199;

/** The installation folder from "AppPath" under the program key of the local machine; "" when not set. */
std::string ReadInstallPath();

/**
 * Writes "AppPath", creating the program key when missing; a trailing '/' is dropped.
 * @return false (nothing written) for an empty path or one too long to be read back, or when the
 *         registry refuses the write.
 */
[[nodiscard]] bool WriteInstallPath(std::string path);

} // namespace talk
