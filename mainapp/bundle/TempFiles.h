#pragma once

#include <cstdint>
#include <string>

namespace deskwarden::bundle::temp_files {

/** Creates `folder` (owner only) when missing. @return false with `error` set. */
[[nodiscard]] bool PrepareFolder(const std::string& folder, std::string& error);

/** Creates a new empty file, owner only, named `prefix` and six random characters in `folder`. @return its path, or ""
 * with `error` set. */
std::string MakeFile(const std::string& folder, std::string& error, const std::string& prefix = "QX");

/** Removes `path` when it exists; never fails. */
void Remove(const std::string& path) noexcept;

/** The size of the file at `path`, or -1. */
std::int64_t SizeOf(const std::string& path) noexcept;

} // namespace deskwarden::bundle::temp_files
