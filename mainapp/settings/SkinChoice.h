#pragma once

#include <string>
#include <vector>

class CSetupFile;

// The skin page's rules: which skins there are, the voice guidance switch, and where a skin's preview is and
// how it fits its frame.
namespace deskwarden::settings::skin_choice {

/** The skins the settings list, and the index of the current one among them (-1 when it is not listed). */
struct SkinList
{
    std::vector<std::string> names;
    int current = -1;
};

SkinList ListSkins(const CSetupFile& setup);

/** The voice guidance switch: "Narration" of the voice dialog's section; on when missing. */
bool IsNarrationOn(const CSetupFile& setup);
/** Writes the switch at once. @return false when the settings file could not be written. */
bool SetNarration(CSetupFile& setup, bool on);

/** The preview picture of skin `name`: the installation's skin/<name>/normal.jpg. */
std::string PreviewPath(const std::string& appPath, const std::string& name);

/** Where a picture is drawn in its frame. */
struct Placement
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

/**
 * A picture of `width` x `height` centred in a frame of `frameWidth` x `frameHeight`; a picture larger than
 * the frame in either direction is stretched to the frame's size.
 */
Placement PlacePreview(int width, int height, int frameWidth, int frameHeight);

} // namespace deskwarden::settings::skin_choice
