#pragma once

#include <optional>
#include <string>
#include <vector>

namespace deskwarden::app {

/** What the program was started with. */
struct StartOptions
{
    std::string file; // a file to list (absolute), empty for none
    bool splash = true;
};

inline constexpr const char* kUsage = "usage: DeskWarden [--no-splash] [FILE]";

/**
 * Reads the words after the program name: at most one file, made absolute against `currentFolder`, and
 * "--no-splash". Nothing, with a reason in `error`, for anything else.
 */
std::optional<StartOptions> ParseCommandLine(
    const std::vector<std::string>& words, const std::string& currentFolder, std::string& error);

} // namespace deskwarden::app
