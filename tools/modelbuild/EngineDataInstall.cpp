#include "EngineDataInstall.h"

#include <filesystem>
#include <vector>

namespace modelbuild {

namespace fs = std::filesystem;

namespace {

// Folders made here are the installation owner's alone, whatever the umask: the installation's strict check
// refuses anything others may write.
bool MakeOwnerFolder(const fs::path& folder, std::string& error)
{
    std::error_code ec;
    const bool existed = fs::is_directory(folder, ec);
    fs::create_directories(folder, ec);
    if (!ec && !existed)
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);
    if (ec) {
        error = "cannot create " + folder.string() + ": " + ec.message();
        return false;
    }
    return true;
}

bool CopyModelFolder(const fs::path& from, const fs::path& to, std::string& error)
{
    if (!MakeOwnerFolder(to, error))
        return false;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, ec)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".bin")
            continue;
        // A checkout made under a loose umask must not hand its group-writable modes on to the copies.
        const fs::path target = to / entry.path().filename();
        fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing, ec);
        if (!ec)
            fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace, ec);
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
    for (const char* name : {"user", "work"})
        if (!MakeOwnerFolder(target / name, error))
            return false;
    return true;
}

} // namespace modelbuild
