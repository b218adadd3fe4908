#include "bundle/SourceList.h"

#include "bundle/EntryName.h"

#include <algorithm>
#include <filesystem>

namespace deskwarden::bundle {
namespace {

namespace fs = std::filesystem;

void AddFile(SourceList& list, const fs::path& path, const std::string& name)
{
    std::error_code error;
    const auto size = fs::file_size(path, error);
    const std::uint64_t bytes = error ? 0 : size;
    list.files.push_back({path.string(), name, bytes});
    list.totalBytes += bytes;
}

void WalkFolder(SourceList& list, const fs::path& folder, const std::string& name)
{
    std::error_code error;
    std::vector<fs::directory_entry> children;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        children.push_back(*it);
    }
    // A stable order makes the same folder pack into the same records.
    std::sort(children.begin(), children.end(),
        [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
    for (const auto& child : children) {
        const auto status = child.symlink_status(error);
        const std::string childName = entry_name::Child(name, child.path().filename().string());
        if (error) {
            continue;
        }
        if (fs::is_directory(status)) {
            list.folders.push_back({child.path().string(), childName, 0});
            WalkFolder(list, child.path(), childName);
        } else if (fs::is_regular_file(status)) {
            AddFile(list, child.path(), childName);
        }
    }
}

} // namespace

bool ListSources(const std::vector<std::string>& markedPaths, StopControl& stop, SourceList& list)
{
    for (const auto& marked : markedPaths) {
        std::error_code error;
        const fs::path path(marked);
        const std::string name = entry_name::ForMarkedPath(marked);
        if (fs::is_directory(path, error)) {
            list.folders.push_back({marked, name, 0});
            WalkFolder(list, path, name);
        } else if (fs::is_regular_file(path, error)) {
            AddFile(list, path, name);
        }
        if (stop.ShouldStop()) {
            return false;
        }
    }
    return true;
}

} // namespace deskwarden::bundle
