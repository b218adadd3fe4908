#pragma once

#include <string>
#include <vector>

namespace wardengate::pam {

/** The module's arguments in the PAM configuration line. */
struct PamOptions
{
    std::string root = "/var/lib/deskwarden"; // root=DIR: the system-wide installation's system root
    int timeoutSeconds = 60; // timeout=N: how long the voice part may take in all
    int attempts = 3; // attempts=N: readings judged before the voice is refused (1 to 5)
    std::string helper; // helper=PATH: the voice part's program (default: the installed one)
};

/**
 * Reads "name=value" arguments over the defaults. An unknown argument, a relative root or helper, or a
 * number out of range is a mistake in the configuration.
 * @return false with the offending argument in `error`; the options are then not to be used.
 */
bool ParsePamOptions(const std::vector<std::string>& arguments, const std::string& defaultHelper, PamOptions& options,
    std::string& error);

} // namespace wardengate::pam
