#pragma once

#include <string>
#include <vector>

namespace deskwarden::bundle::entry_name {

/**
 * The components of a name inside a bundle, or false when the name could lead outside the folder it is
 * unpacked into: it must begin with '/', and no component may be empty, ".", "..", longer than 255 bytes
 * or hold a zero byte. A '\' is an ordinary character here.
 */
[[nodiscard]] bool Split(const std::string& name, std::vector<std::string>& components);

/** The name of a marked path in a bundle: '/' and its last component. */
std::string ForMarkedPath(const std::string& path);

/** The name of `child` inside the entry named `parent`. */
std::string Child(const std::string& parent, const std::string& child);

} // namespace deskwarden::bundle::entry_name
