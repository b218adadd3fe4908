#pragma once

#include "files/FileList.h"

#include <string>
#include <vector>

namespace deskwarden::files {

/** What marking the rows for a job found. */
struct MarkResult
{
    int marked = 0;
    std::string shortestParentPath; // the marked path whose parent folder path is shortest (encryption's name)
};

/**
 * Starts every job: drops the rows whose file or folder is gone (walking from the last row to the first),
 * then marks all rows or only `selected` (indexes into the rows before the drop) and clears the others.
 */
MarkResult MarkRows(FileList& list, bool selectedOnly, const std::vector<std::size_t>& selected);

/** The marked rows' paths, in list order. */
std::vector<std::string> MarkedPaths(const FileList& list);

/** Drops the rows whose file or folder is gone. @return how many were dropped. */
int DropVanishedRows(FileList& list);

} // namespace deskwarden::files
