#include "files/Marking.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace deskwarden::files {

namespace {

bool Exists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec)) && !ec;
}

std::size_t ParentLength(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string().size();
}

} // namespace

MarkResult MarkRows(FileList& list, bool selectedOnly, const std::vector<std::size_t>& selected)
{
    std::vector<FileItem>& rows = list.MutableRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].marked = !selectedOnly || std::find(selected.begin(), selected.end(), i) != selected.end();
    for (std::size_t i = rows.size(); i-- > 0;) {
        if (!Exists(rows[i].fullPath))
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
    }
    MarkResult result;
    for (const FileItem& row : rows) {
        if (!row.marked)
            continue;
        if (result.marked == 0 || ParentLength(row.fullPath) < ParentLength(result.shortestParentPath))
            result.shortestParentPath = row.fullPath;
        ++result.marked;
    }
    return result;
}

std::vector<std::string> MarkedPaths(const FileList& list)
{
    std::vector<std::string> paths;
    for (const FileItem& row : list.Rows())
        if (row.marked)
            paths.push_back(row.fullPath);
    return paths;
}

int DropVanishedRows(FileList& list)
{
    std::vector<FileItem>& rows = list.MutableRows();
    const std::size_t before = rows.size();
    rows.erase(std::remove_if(rows.begin(), rows.end(), [](const FileItem& row) { return !Exists(row.fullPath); }),
        rows.end());
    return static_cast<int>(before - rows.size());
}

} // namespace deskwarden::files
