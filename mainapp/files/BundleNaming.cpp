#include "files/BundleNaming.h"

#include <filesystem>

namespace deskwarden::files {

namespace fs = std::filesystem;

std::string DefaultBundleName(const std::string& path, const std::function<bool(const std::string&)>& exists)
{
    const fs::path parent = fs::path(path).parent_path();
    const std::string folderName = parent.filename().string();
    const std::string base = (parent / (folderName.empty() ? "bundle" : folderName)).string();
    std::string name = base + kBundleExtension;
    for (int n = 0; exists && exists(name); ++n)
        name = base + "_" + std::to_string(n) + kBundleExtension;
    return name;
}

std::string WithBundleExtension(const std::string& chosen)
{
    return chosen.find('.') == std::string::npos ? chosen + kBundleExtension : chosen;
}

std::string DecryptionFolder(const std::string& bundlePath, int secureMakeType, const std::string& secureFolder)
{
    const fs::path bundle(bundlePath);
    const std::string name = bundle.filename().string();
    const std::size_t dot = name.rfind('.');
    // A name that is all extension would unpack into the bundle's own folder, among other files.
    if (dot == std::string::npos || dot == 0)
        return {};
    const std::string stem = name.substr(0, dot);
    if (secureMakeType == 1)
        return (fs::path(secureFolder) / stem).string();
    return (bundle.parent_path() / stem).string();
}

} // namespace deskwarden::files
