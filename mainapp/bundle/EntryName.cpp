#include "bundle/EntryName.h"

#include <filesystem>

namespace deskwarden::bundle::entry_name {
namespace {

constexpr std::size_t kLongestComponent = 255;

bool IsSafeComponent(const std::string& component)
{
    return !component.empty() && component != "." && component != ".." && component.size() <= kLongestComponent
        && component.find('\0') == std::string::npos;
}

} // namespace

bool Split(const std::string& name, std::vector<std::string>& components)
{
    components.clear();
    if (name.empty() || name.front() != '/') {
        return false;
    }
    std::size_t start = 1;
    while (true) {
        const std::size_t slash = name.find('/', start);
        const std::string component
            = name.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (!IsSafeComponent(component)) {
            components.clear();
            return false;
        }
        components.push_back(component);
        if (slash == std::string::npos) {
            return true;
        }
        start = slash + 1;
    }
}

std::string ForMarkedPath(const std::string& path)
{
    auto p = std::filesystem::path(path);
    if (!p.has_filename()) {
        p = p.parent_path();
    }
    return "/" + p.filename().string();
}

std::string Child(const std::string& parent, const std::string& child)
{
    return parent + "/" + child;
}

} // namespace deskwarden::bundle::entry_name
