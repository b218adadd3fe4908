#include "ArtNames.h"

#include <QtGlobal>

#include <mutex>

// Q_INIT_RESOURCE declares the resource's initialiser in the namespace it is used in; the initialiser is a
// global function, so the call stays outside every namespace.
static void RegisterArtResources()
{
    Q_INIT_RESOURCE(deskwarden_art);
}

namespace deskwarden::art {

namespace {

struct ButtonEntry
{
    int control;
    StatePictures pictures;
};

constexpr ButtonEntry kLargeButtons[] = {
    {1001,
        {":/deskwarden/button-1001-normal.png", ":/deskwarden/button-1001-over.png",
            ":/deskwarden/button-1001-down.png"}},
    {1002,
        {":/deskwarden/button-1002-normal.png", ":/deskwarden/button-1002-over.png",
            ":/deskwarden/button-1002-down.png"}},
    {1004,
        {":/deskwarden/button-1004-normal.png", ":/deskwarden/button-1004-over.png",
            ":/deskwarden/button-1004-down.png"}},
    {1005,
        {":/deskwarden/button-1005-normal.png", ":/deskwarden/button-1005-over.png",
            ":/deskwarden/button-1005-down.png"}},
    {1080,
        {":/deskwarden/button-1080-normal.png", ":/deskwarden/button-1080-over.png",
            ":/deskwarden/button-1080-down.png"}},
};

} // namespace

StatePictures LargeButtonPictures(int control)
{
    for (const ButtonEntry& entry : kLargeButtons) {
        if (entry.control == control)
            return entry.pictures;
    }
    return {nullptr, nullptr, nullptr};
}

void EnsureLoaded()
{
    static std::once_flag once;
    std::call_once(once, RegisterArtResources);
}

} // namespace deskwarden::art
