#pragma once

#include <optional>
#include <string>

namespace deskwarden::app {

// Show commands a placement records.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimised = 2;
inline constexpr int kShowMaximised = 3;

/** The main window's normal rectangle and how it was shown when the program last ended. */
struct WindowPlacement
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int showCommand = kShowNormal;
    int flags = 0;

    bool operator==(const WindowPlacement&) const = default;
};

/** "left,top,right,bottom,show,flags". */
std::string FormatPlacement(const WindowPlacement& placement);

/** Six comma-separated integers, or nothing; a rectangle without area is refused too. */
std::optional<WindowPlacement> ParsePlacement(const std::string& text);

/** The program's default profile: `<Windows folder>/DeskWarden.ini`. */
std::string DefaultProfilePath();

/** The placement saved in the default profile, or nothing when none parses. */
std::optional<WindowPlacement> LoadPlacement(const std::string& profilePath);

/** Saves the placement in the default profile. @return false when the profile cannot be written. */
bool SavePlacement(const std::string& profilePath, const WindowPlacement& placement);

} // namespace deskwarden::app
