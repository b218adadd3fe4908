#pragma once

#include <functional>
#include <string>

namespace deskwarden::files {

/** The extension of an encrypted bundle. */
inline constexpr const char* kBundleExtension = ".wdv";

/**
 * The bundle name proposed for a job whose marked path with the shortest parent is `path`: the parent
 * folder followed by its own name (`/data/docs/a.txt` gives `/data/docs/docs.wdv`), or `_0`, `_1`, ...
 * before the extension while `exists` says the name is taken. A path directly in the file system's root,
 * whose folder has no name, gives `/bundle.wdv`.
 */
std::string DefaultBundleName(const std::string& path, const std::function<bool(const std::string&)>& exists);

/** A name chosen in the save dialog without any '.' gets the bundle extension. */
std::string WithBundleExtension(const std::string& chosen);

/**
 * Where a bundle unpacks: with the secure make type 1, the secure folder and the bundle's name without its
 * last extension; otherwise the bundle's own path without it. Empty for a name without '.', which is skipped.
 */
std::string DecryptionFolder(const std::string& bundlePath, int secureMakeType, const std::string& secureFolder);

} // namespace deskwarden::files
