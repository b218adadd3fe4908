#include "settings/PamUsage.h"

#include <algorithm>
#include <fstream>

namespace deskwarden::settings::pam_usage {

bool LineUsesModule(const std::string& line)
{
    const auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#')
        return false;
    return line.find(kModuleFile) != std::string::npos;
}

std::vector<std::string> ServicesUsingModule(const std::filesystem::path& pamFolder)
{
    std::vector<std::string> services;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(pamFolder, ec)) {
        if (!entry.is_regular_file(ec))
            continue;
        std::ifstream file(entry.path());
        std::string line;
        while (std::getline(file, line)) {
            if (LineUsesModule(line)) {
                services.push_back(entry.path().filename().string());
                break;
            }
        }
    }
    std::sort(services.begin(), services.end());
    return services;
}

std::string InstalledModule(const std::vector<std::filesystem::path>& candidates)
{
    std::error_code ec;
    for (const auto& candidate : candidates) {
        if (std::filesystem::is_regular_file(candidate, ec))
            return candidate.lexically_normal().string();
    }
    return {};
}

std::vector<std::filesystem::path> ModuleCandidates(const std::filesystem::path& programFolder)
{
    return {
        programFolder / "../lib/security" / kModuleFile,
        programFolder / "../lib" / kModuleFile, // the build tree
        std::filesystem::path("/usr/local/lib/security") / kModuleFile,
        std::filesystem::path("/lib/security") / kModuleFile,
        std::filesystem::path("/lib/x86_64-linux-gnu/security") / kModuleFile,
        std::filesystem::path("/usr/lib/x86_64-linux-gnu/security") / kModuleFile,
    };
}

std::string Describe(const std::string& module, const std::vector<std::string>& services)
{
    if (module.empty())
        return "PAMモジュールはインストールされていません。";
    if (services.empty())
        return "PAMモジュール（" + module + "）はどのサービスにも設定されていません。";
    std::string list;
    for (const std::string& service : services)
        list += (list.empty() ? "" : ", ") + service;
    return "PAMモジュールを使用中のサービス: " + list;
}

} // namespace deskwarden::settings::pam_usage
