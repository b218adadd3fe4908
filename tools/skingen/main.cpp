// skingen: writes the default skin (pictures, mask, settings preview and skin.ini) into a folder.
// Same tool, same fonts, same bytes: nothing here depends on the time or on random numbers.

#include "ArgumentParser.h"
#include "SkinArt.h"
#include "SkinIniWriter.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool Save(const QImage& image, const QString& path, const char* format, int quality)
{
    if (image.save(path, format, quality))
        return true;
    std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(path));
    return false;
}

bool WriteText(const QString& path, const std::string& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> folders;
    std::string error;
    if (!tools::ArgumentParser().Operands(&folders).Parse(tools::CommandLineWords(argc, argv), error))
        return tools::ReportUsageError("skingen", error + "; usage: skingen SKIN_FOLDER");
    if (folders.size() != 1)
        return tools::ReportUsageError("skingen", "usage: skingen SKIN_FOLDER");
    // Pictures are drawn off screen; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString folder = QString::fromLocal8Bit(folders[0].c_str());

    using skingen::skin_art::Look;
    QImage normal = skingen::skin_art::PaintWindow(Look::Normal);
    bool ok = Save(normal, folder + "/normal.png", "PNG", -1)
        && Save(skingen::skin_art::PaintWindow(Look::Over), folder + "/over.png", "PNG", -1)
        && Save(skingen::skin_art::PaintWindow(Look::Down), folder + "/down.png", "PNG", -1)
        && Save(skingen::skin_art::PaintWindow(Look::Disabled), folder + "/disabled.png", "PNG", -1)
        && Save(skingen::skin_art::PaintMask(), folder + "/mask.png", "PNG", -1)
        && Save(normal, folder + "/normal.jpg", "JPEG", 92)
        && WriteText(folder + "/skin.ini", skingen::skin_ini_writer::DefaultSkinIni());
    return ok ? tools::kExitOk : tools::kExitFailed;
}
