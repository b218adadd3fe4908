#include "rules/ProcessNames.h"

#include <platform/AsciiCase.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace screenveil {

namespace {

bool IsProcessFolder(const std::filesystem::directory_entry& entry)
{
    const std::string name = entry.path().filename().string();
    return !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool ReadCommandName(const std::filesystem::path& folder, std::string& name)
{
    std::ifstream in(folder / "comm");
    return static_cast<bool>(std::getline(in, name)) && !name.empty();
}

} // namespace

std::vector<std::string> RunningProcessNames(const std::string& procRoot)
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(procRoot, error);
    for (; !error && it != std::filesystem::directory_iterator() && names.size() < kMostProcesses;
         it.increment(error)) {
        std::string name;
        if (IsProcessFolder(*it) && ReadCommandName(it->path(), name))
            names.push_back(std::move(name));
    }
    return names;
}

bool HasProcessNamed(const std::vector<std::string>& names, const std::string& name)
{
    return std::any_of(
        names.begin(), names.end(), [&](const std::string& n) { return platform::EqualsIgnoringAsciiCase(n, name); });
}

} // namespace screenveil
