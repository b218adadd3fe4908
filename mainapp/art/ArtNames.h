#pragma once

// The tray program's pictures as Qt resources (made by tools/deskwarden-art, kept in data/deskwarden).
// Call EnsureLoaded() once before the first load: the pictures live in a static library, whose resource
// table a linker may otherwise leave out.
namespace deskwarden::art {

inline constexpr const char* kBand = ":/deskwarden/band.png"; // bitmap 188
inline constexpr const char* kColumnLogo = ":/deskwarden/column-logo.png"; // bitmap 226
inline constexpr const char* kAbout = ":/deskwarden/about.png"; // bitmap 241: about box and splash
inline constexpr const char* kMenuIcons = ":/deskwarden/menu-icons.png"; // menus 149 and 150
inline constexpr const char* kRowAdmin = ":/deskwarden/row-admin.png";
inline constexpr const char* kRowUser = ":/deskwarden/row-user.png";
inline constexpr const char* kRowAccount = ":/deskwarden/row-account.png";
inline constexpr const char* kCheck = ":/deskwarden/check.png";

/** How the band is cut: its left part at the window's left edge, the strip below it, its right part at the
 * window's right edge. Each is x, y, width, height within the band picture. */
struct BandPart
{
    int x;
    int y;
    int width;
    int height;
};
inline constexpr BandPart kBandLeft {0, 0, 581, 65};
inline constexpr BandPart kBandStrip {0, 65, 213, 4};
inline constexpr BandPart kBandRight {582, 0, 246, 65};

/** The menu icon strip: 16 x 16 icons side by side, magenta where the menu shows through. */
inline constexpr int kMenuIconSize = 16;
inline constexpr unsigned kMenuIconKey = 0xFF00FF;
enum class MenuIcon
{
    AddFile,
    AddFolder,
    Start,
    Clear,
    Remove,
    Open,
};
inline constexpr int kMenuIconCount = 6;

/** A button's three state pictures. */
struct StatePictures
{
    const char* normal;
    const char* over;
    const char* down;
};

inline constexpr StatePictures kFrameMinimise {":/deskwarden/frame-minimise-normal.png",
    ":/deskwarden/frame-minimise-over.png", ":/deskwarden/frame-minimise-down.png"};
inline constexpr StatePictures kFrameMaximise {":/deskwarden/frame-maximise-normal.png",
    ":/deskwarden/frame-maximise-over.png", ":/deskwarden/frame-maximise-down.png"};
inline constexpr StatePictures kFrameRestore {":/deskwarden/frame-restore-normal.png",
    ":/deskwarden/frame-restore-over.png", ":/deskwarden/frame-restore-down.png"};
inline constexpr StatePictures kFrameClose {
    ":/deskwarden/frame-close-normal.png", ":/deskwarden/frame-close-over.png", ":/deskwarden/frame-close-down.png"};

/**
 * The pictures of one of the column's large buttons (controls 1001, 1002, 1004, 1005, 1080).
 * @return all three null for any other control.
 */
StatePictures LargeButtonPictures(int control);

/** The program icon's sizes (icon 130), smallest first, and the picture of each. */
inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
inline constexpr const char* kIcons[] = {":/deskwarden/icon-16.png", ":/deskwarden/icon-32.png",
    ":/deskwarden/icon-48.png", ":/deskwarden/icon-64.png", ":/deskwarden/icon-128.png", ":/deskwarden/icon-256.png"};

/** Registers the pictures with Qt's resource system; safe to call more than once, and from any thread. */
void EnsureLoaded();

} // namespace deskwarden::art
