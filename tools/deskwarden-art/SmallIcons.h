#pragma once

#include <QImage>

// The 16-pixel pictures of menus and lists, and the program's icon.
namespace deskwarden_art::small_icons {

/** How many icons the menu strip holds: add file, add folder, start, clear, remove, open. */
inline constexpr int kMenuIconCount = 6;

/** 16 * kMenuIconCount x 16, opaque, magenta (0xFF00FF) wherever the menu shows through. */
QImage PaintMenuStrip();

enum class RowImage
{
    Administrator,
    GeneralUser,
    UnregisteredAccount,
    Check,
};

/** 16 x 16 with alpha: a user list row's image, or the permission check mark. */
QImage PaintRowImage(RowImage image);

/** `size` x `size`: the program's icon, a shield carrying a voice wave. */
QImage PaintAppIcon(int size);

} // namespace deskwarden_art::small_icons
