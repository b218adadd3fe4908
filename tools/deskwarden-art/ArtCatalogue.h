#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

// Every picture the tray program ships, by file name, with the painter that makes it.
namespace deskwarden_art::catalogue {

struct Picture
{
    QString fileName;
    std::function<QImage()> paint;
};

/** The tray program's pictures (PNG files), in a fixed order. */
std::vector<Picture> ProgramPictures();

/** The lock screen's slides, screen01.bmp to screen05.bmp. */
std::vector<Picture> SlidePictures();

} // namespace deskwarden_art::catalogue
