#include "app/CommandLine.h"

#include <filesystem>

namespace deskwarden::app {

std::optional<StartOptions> ParseCommandLine(
    const std::vector<std::string>& words, const std::string& currentFolder, std::string& error)
{
    StartOptions options;
    bool optionsEnded = false;
    for (const std::string& word : words) {
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && word == "--no-splash") {
            options.splash = false;
        } else if (!optionsEnded && word.size() > 1 && word.front() == '-') {
            error = "unknown option " + word;
            return std::nullopt;
        } else if (!options.file.empty()) {
            error = "only one file can be named";
            return std::nullopt;
        } else if (word.empty()) {
            error = "an empty file name";
            return std::nullopt;
        } else {
            const std::filesystem::path path(word);
            options.file
                = (path.is_absolute() ? path : std::filesystem::path(currentFolder) / path).lexically_normal().string();
        }
    }
    return options;
}

} // namespace deskwarden::app
