#pragma once

#include "bundle/JobControl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace deskwarden::bundle {

/** A file or folder to pack: where it is and its name inside the bundle. */
struct SourceEntry
{
    std::string fullPath;
    std::string name;
    std::uint64_t size = 0;
};

/** What a job packs, folders apart from files, each in the order found. */
struct SourceList
{
    std::vector<SourceEntry> folders;
    std::vector<SourceEntry> files;
    std::uint64_t totalBytes = 0;
};

/**
 * Lists the marked paths: a marked file becomes "/name", a marked folder "/name" and everything below it,
 * depth first. Links and special files met inside a folder are left out: a link could lead outside the
 * marked folder or back into it, and a pipe would never end. The continue flag is asked after each marked
 * path. @return false when the user stopped.
 */
[[nodiscard]] bool ListSources(const std::vector<std::string>& markedPaths, StopControl& stop, SourceList& list);

} // namespace deskwarden::bundle
