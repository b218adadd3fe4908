#include "app/HandOff.h"

#include <charconv>

namespace deskwarden::app {

namespace {

// A path line longer than any file system allows is not a path.
constexpr std::size_t kLongestPath = 4096;
// More paths than anyone drops at once would only be a way to make the program busy.
constexpr int kMostPaths = 100000;

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool ReadNumber(std::string_view field, int& value)
{
    const char* end = field.data() + field.size();
    const auto [stop, ec] = std::from_chars(field.data(), end, value);
    return ec == std::errc() && stop == end;
}

} // namespace

std::optional<HandOff> ParseHandOff(std::string_view text)
{
    const std::vector<std::string_view> lines = SplitLines(text);
    if (lines.empty())
        return std::nullopt;
    const std::string_view head = lines.front();
    const std::size_t firstComma = head.find(',');
    const std::size_t secondComma = firstComma == std::string_view::npos ? firstComma : head.find(',', firstComma + 1);
    if (secondComma == std::string_view::npos)
        return std::nullopt;
    HandOff handOff;
    int count = 0;
    if (!ReadNumber(head.substr(0, firstComma), handOff.command) || !ReadNumber(head.substr(secondComma + 1), count)
        || count < 0 || count > kMostPaths)
        return std::nullopt;
    handOff.tag = std::string(head.substr(firstComma + 1, secondComma - firstComma - 1));
    if (lines.size() - 1 < static_cast<std::size_t>(count))
        return std::nullopt;
    for (int i = 1; i <= count; ++i) {
        const std::string_view path = lines[static_cast<std::size_t>(i)];
        if (path.empty() || path.size() > kLongestPath)
            return std::nullopt;
        handOff.paths.emplace_back(path);
    }
    return handOff;
}

std::string FormatHandOff(const HandOff& handOff)
{
    std::string text
        = std::to_string(handOff.command) + "," + handOff.tag + "," + std::to_string(handOff.paths.size()) + "\n";
    for (const std::string& path : handOff.paths)
        text += path + "\n";
    return text;
}

HandOff HandOffForFile(const std::string& path)
{
    return HandOff {static_cast<int>(HandOffCommand::OfferLast), "ooo", {path}};
}

} // namespace deskwarden::app
