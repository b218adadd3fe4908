#pragma once

#include "files/FileItem.h"

#include <optional>
#include <string>
#include <vector>

namespace deskwarden::files {

/** The columns of the file list, in their order on screen. */
enum class Column
{
    Name = 0,
    Size = 1,
    Date = 2,
    Remarks = 3,
};

/**
 * The rows of the main window's file list and their order, without a display. A name occurs once: a path
 * whose last component equals (case ignored) that of a listed row is not added, even from another folder,
 * because a bundle keeps its entries by name. Folders always come before files.
 */
class FileList
{
public:
    /** Adds `path` when it exists and its name is new. @return true when a row was added. */
    bool Add(const std::string& path);
    /** Adds every path that can be added and sorts again when at least one was. @return the rows added. */
    int AddAll(const std::vector<std::string>& paths);
    /** True when a row with `path`'s name (case ignored) is listed. */
    bool HasName(const std::string& path) const;

    void Clear() { m_rows.clear(); }
    /** Removes the rows at `indexes` (any order; duplicates and indexes out of range are ignored). */
    void RemoveRows(std::vector<std::size_t> indexes);

    /**
     * A click on the header of `column`: ascending when the column changes or the order was descending,
     * descending otherwise; the rows are sorted again.
     */
    void ClickHeader(Column column);
    void Sort();

    const std::vector<FileItem>& Rows() const { return m_rows; }
    /** For the jobs, which mark rows and write their remarks; the order must be kept. */
    std::vector<FileItem>& MutableRows() { return m_rows; }
    Column SortColumn() const { return m_sortColumn; }
    bool SortAscending() const { return m_ascending; }

private:
    std::vector<FileItem> m_rows;
    Column m_sortColumn = Column::Name;
    bool m_ascending = true;
};

/** The item a path names now, or nothing when it does not exist. */
std::optional<FileItem> ReadItem(const std::string& path);

/** The size column: empty for a folder, else KB rounded up (at least 1) with ',' every three digits and " KB". */
std::string SizeText(const FileItem& item);

/** The date column: the last-write time as local "%Y-%m-%d %H:%M". */
std::string DateText(const FileItem& item);

/** True when `a` belongs before `b` in the list sorted by `column` in the given direction. */
bool ComesBefore(const FileItem& a, const FileItem& b, Column column, bool ascending);

} // namespace deskwarden::files
