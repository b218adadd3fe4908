#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace deskwarden::app {

/** The data kind that marks a hand-off of paths to the running program. */
inline constexpr int kHandOffDataKind = 1025;

/** What a hand-off asks of the main window once its paths are listed. */
enum class HandOffCommand
{
    Encrypt = 0,
    Decrypt = 1,
    OfferLast = 2, // list the last path once more (nothing when it is listed already)
};

/**
 * Paths handed to the running program: a first line "command,tag,count" and then `count` lines with one
 * full path each, every line ended by '\n'. The tag is not read.
 */
struct HandOff
{
    int command = 0;
    std::string tag;
    std::vector<std::string> paths;
};

/**
 * Reads a hand-off text. Nothing for a text whose first line is not three fields with a numeric command and
 * count, or that has fewer path lines than the count says. A count of 0 reads as a hand-off without paths.
 */
std::optional<HandOff> ParseHandOff(std::string_view text);

/** The text of `handOff`, as ParseHandOff reads it. */
std::string FormatHandOff(const HandOff& handOff);

/** The hand-off a second start sends for the file named on its command line. */
HandOff HandOffForFile(const std::string& path);

} // namespace deskwarden::app
