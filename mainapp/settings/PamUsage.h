#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Whether the system's PAM stacks use the voice logon module. Only read: the page tells the administrator,
// who edits /etc/pam.d himself (see the README), because a broken stack can lock every user out.
namespace deskwarden::settings::pam_usage {

inline constexpr const char* kModuleFile = "pam_wardengate.so";

/** Whether one line of a PAM service file calls the module: not a comment, and the module is named. */
bool LineUsesModule(const std::string& line);

/** The service files in `pamFolder` (/etc/pam.d) with a line that calls the module, in name order. */
std::vector<std::string> ServicesUsingModule(const std::filesystem::path& pamFolder);

/** The first of `candidates` that is a file: where the module is installed, or "" when it is nowhere. */
std::string InstalledModule(const std::vector<std::filesystem::path>& candidates);

/** The places the module is installed in: beside this suite's programs, then the system's module folders. */
std::vector<std::filesystem::path> ModuleCandidates(const std::filesystem::path& programFolder);

/** The page's sentence: the module's state and, where it is installed, the services that use it. */
std::string Describe(const std::string& module, const std::vector<std::string>& services);

} // namespace deskwarden::settings::pam_usage
