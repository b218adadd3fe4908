// deskwarden-art: draws the tray program's pictures into a folder, or with --slides the lock screen's slides.
// Same tool, same fonts, same bytes: nothing here depends on the time or on random numbers.

#include "ArgumentParser.h"
#include "ArtCatalogue.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: deskwarden-art [--slides] OUTDIR";

bool WriteAll(const std::vector<deskwarden_art::catalogue::Picture>& pictures, const QString& folder)
{
    for (const auto& picture : pictures) {
        const QString path = folder + "/" + picture.fileName;
        const QImage image = picture.paint();
        // PNG and BMP carry no time stamps in Qt's writers; the bytes depend on the pixels alone.
        if (image.isNull() || !image.save(path, nullptr, -1)) {
            std::fprintf(stderr, "deskwarden-art: cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> folders;
    bool slides = false;
    std::string error;
    if (!tools::ArgumentParser()
             .Switch("slides", &slides)
             .Operands(&folders)
             .Parse(tools::CommandLineWords(argc, argv), error))
        return tools::ReportUsageError("deskwarden-art", error + "; " + kUsage);
    if (folders.size() != 1)
        return tools::ReportUsageError("deskwarden-art", kUsage);
    // Pictures are drawn off screen; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(folders[0].c_str());
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "deskwarden-art: cannot create %s\n", qPrintable(folder));
        return tools::kExitFailed;
    }
    namespace catalogue = deskwarden_art::catalogue;
    const bool ok = WriteAll(slides ? catalogue::SlidePictures() : catalogue::ProgramPictures(), folder);
    return ok ? tools::kExitOk : tools::kExitFailed;
}
