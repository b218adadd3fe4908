#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace wardenctl {

/** A command line split into its words and its "--name value" options. */
struct Arguments
{
    std::vector<std::string> words;
    std::map<std::string, std::string> options;

    /** The option's value, or nullopt when it was not given. */
    std::optional<std::string> Option(const std::string& name) const;
};

/**
 * Splits `argv` (without the program name) by the tools' shared grammar. Every option takes one value,
 * and the commands decide which options they read. @return false with `error` set on a usage error.
 */
[[nodiscard]] bool ParseArguments(const std::vector<std::string>& argv, Arguments& parsed, std::string& error);

/** The usage text printed for "help" and after a usage error. */
const char* UsageText();

} // namespace wardenctl
