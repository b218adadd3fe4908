#include "files/FileList.h"

#include <platform/AsciiCase.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace deskwarden::files {

namespace fs = std::filesystem;

namespace {

std::time_t ToTimeT(fs::file_time_type stamp)
{
    const auto system = std::chrono::file_clock::to_sys(stamp);
    return std::chrono::system_clock::to_time_t(system);
}

std::string NameOf(const fs::path& path)
{
    fs::path trimmed = path;
    // "/data/reports/" names the folder "reports", as the shell does.
    if (!trimmed.has_filename() && trimmed.has_parent_path() && trimmed != trimmed.root_path())
        trimmed = trimmed.parent_path();
    return trimmed.filename().string();
}

std::string GroupDigits(unsigned long long value)
{
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

/** -1, 0 or 1 as `a` sorts before, with or after `b` ascending; folders and files are apart already. */
int CompareWithinKind(const FileItem& a, const FileItem& b, Column column)
{
    switch (column) {
    case Column::Size:
        return a.size < b.size ? -1 : (a.size > b.size ? 1 : 0);
    case Column::Date:
        // The later time comes first when ascending, so that the newest files head the list.
        return a.lastWrite > b.lastWrite ? -1 : (a.lastWrite < b.lastWrite ? 1 : 0);
    case Column::Name:
    case Column::Remarks:
        break;
    }
    const int order = a.name.compare(b.name);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace

std::optional<FileItem> ReadItem(const std::string& path)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status))
        return std::nullopt;
    FileItem item;
    item.fullPath = path;
    item.name = NameOf(path);
    item.isFolder = fs::is_directory(status);
    if (!item.isFolder) {
        const std::uintmax_t bytes = fs::file_size(path, ec);
        // The list keeps 32-bit sizes; a larger file shows the largest size the column can hold.
        item.size = ec ? 0 : static_cast<std::uint32_t>(std::min<std::uintmax_t>(bytes, UINT32_MAX));
    }
    const fs::file_time_type written = fs::last_write_time(path, ec);
    item.lastWrite = ec ? 0 : ToTimeT(written);
    return item;
}

std::string SizeText(const FileItem& item)
{
    if (item.isFolder)
        return {};
    const unsigned long long kilobytes = std::max<unsigned long long>(1, (item.size + 1023ULL) / 1024ULL);
    return GroupDigits(kilobytes) + " KB";
}

std::string DateText(const FileItem& item)
{
    std::tm local {};
    if (localtime_r(&item.lastWrite, &local) == nullptr)
        return {};
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return std::string(text, length);
}

bool ComesBefore(const FileItem& a, const FileItem& b, Column column, bool ascending)
{
    if (a.isFolder != b.isFolder)
        return a.isFolder;
    const int order = CompareWithinKind(a, b, column);
    return ascending ? order < 0 : order > 0;
}

bool FileList::HasName(const std::string& path) const
{
    const std::string name = NameOf(path);
    return std::any_of(m_rows.begin(), m_rows.end(),
        [&](const FileItem& row) { return platform::EqualsIgnoringAsciiCase(row.name, name); });
}

bool FileList::Add(const std::string& path)
{
    if (path.empty() || HasName(path))
        return false;
    std::optional<FileItem> item = ReadItem(path);
    if (!item || item->name.empty())
        return false;
    m_rows.push_back(std::move(*item));
    return true;
}

int FileList::AddAll(const std::vector<std::string>& paths)
{
    int added = 0;
    for (const std::string& path : paths)
        added += Add(path) ? 1 : 0;
    if (added > 0)
        Sort();
    return added;
}

void FileList::RemoveRows(std::vector<std::size_t> indexes)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    for (auto at = indexes.rbegin(); at != indexes.rend(); ++at) {
        if (*at < m_rows.size())
            m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(*at));
    }
}

void FileList::ClickHeader(Column column)
{
    m_ascending = column != m_sortColumn || !m_ascending;
    m_sortColumn = column;
    Sort();
}

void FileList::Sort()
{
    // Stable, so that rows that compare equal keep the order in which they were added.
    std::stable_sort(m_rows.begin(), m_rows.end(),
        [this](const FileItem& a, const FileItem& b) { return ComesBefore(a, b, m_sortColumn, m_ascending); });
}

} // namespace deskwarden::files
