#include "EngineDataInstall.h"

#include <filesystem>
#include <vector>

namespace modelbuild {

namespace fs = std::filesystem;

namespace {

bool CopyModelFolder(const fs::path& from, const fs::path& to, std::string& error)
{
    std::error_code ec;
    fs::create_directories(to, ec);
    if (ec) {
        error = "cannot create " + to.string() + ": " + ec.message();
        return false;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(from, ec)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".bin")
            continue;
        fs::copy_file(entry.path(), to / entry.path().filename(), fs::copy_options::overwrite_existing, ec);
        if (ec) {
            error = "cannot copy " + entry.path().string() + ": " + ec.message();
            return false;
        }
    }
    if (ec) {
        error = "cannot read " + from.string() + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace

bool InstallEngineData(const std::string& sourceFolder, const std::string& engineFolder, std::string& error)
{
    const fs::path source(sourceFolder);
    const fs::path target(engineFolder);
    std::error_code ec;
    std::vector<fs::path> modelFolders;
    for (const fs::directory_entry& entry : fs::directory_iterator(source, ec)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory() && (name == "iwrec" || name.rfind("word", 0) == 0))
            modelFolders.push_back(entry.path());
    }
    if (ec || modelFolders.empty()) {
        error = sourceFolder + " holds no word<K>/ or iwrec/ folder";
        return false;
    }
    for (const fs::path& folder : modelFolders)
        if (!CopyModelFolder(folder, target / folder.filename(), error))
            return false;
    for (const char* name : {"user", "work"}) {
        fs::create_directories(target / name, ec);
        if (ec) {
            error = "cannot create " + (target / name).string() + ": " + ec.message();
            return false;
        }
    }
    return true;
}

} // namespace modelbuild
