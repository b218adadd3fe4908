#include "RegistryPath.h"

#include "Registry.h"

namespace platform::registry {

LSTATUS SplitKeyPath(std::string_view path, std::vector<std::string>& names)
{
    names.clear();
    if (path.empty()) {
        return ERROR_SUCCESS;
    }
    if (path.find('\0') != std::string_view::npos) {
        return ERROR_INVALID_PARAMETER;
    }
    if (path.front() == '\\') {
        return ERROR_BAD_PATHNAME;
    }
    if (path.back() == '\\') {
        path.remove_suffix(1);
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        const std::string_view name = path.substr(start, end - start);
        if (name.empty()) {
            names.clear();
            return ERROR_BAD_PATHNAME;
        }
        if (name.size() > kMaxKeyNameLength || names.size() >= kMaxKeyDepth) {
            names.clear();
            return ERROR_INVALID_PARAMETER;
        }
        names.emplace_back(name);
        start = end + 1;
    }
    return ERROR_SUCCESS;
}

bool IsValidValueName(std::string_view name)
{
    return name.size() <= kMaxValueNameLength && name.find('\0') == std::string_view::npos;
}

} // namespace platform::registry
