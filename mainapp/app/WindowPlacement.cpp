#include "app/WindowPlacement.h"

#include "IniFile.h"

#include <platform/SystemRoot.h>

#include <array>
#include <charconv>

namespace deskwarden::app {

namespace {

constexpr const char* kSection = "Marlow";
constexpr const char* kKey = "WindowPlacement";

bool ReadField(std::string_view field, int& value)
{
    while (!field.empty() && field.front() == ' ')
        field.remove_prefix(1);
    while (!field.empty() && field.back() == ' ')
        field.remove_suffix(1);
    const char* end = field.data() + field.size();
    const auto [stop, ec] = std::from_chars(field.data(), end, value);
    return !field.empty() && ec == std::errc() && stop == end;
}

} // namespace

std::string FormatPlacement(const WindowPlacement& p)
{
    return std::to_string(p.left) + "," + std::to_string(p.top) + "," + std::to_string(p.right) + ","
        + std::to_string(p.bottom) + "," + std::to_string(p.showCommand) + "," + std::to_string(p.flags);
}

std::optional<WindowPlacement> ParsePlacement(const std::string& text)
{
    std::array<int, 6> values {};
    std::string_view rest = text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t comma = rest.find(',');
        const bool last = i + 1 == values.size();
        if (last != (comma == std::string_view::npos))
            return std::nullopt;
        if (!ReadField(rest.substr(0, comma), values[i]))
            return std::nullopt;
        rest = last ? std::string_view() : rest.substr(comma + 1);
    }
    const WindowPlacement placement {values[0], values[1], values[2], values[3], values[4], values[5]};
    if (placement.right <= placement.left || placement.bottom <= placement.top)
        return std::nullopt;
    return placement;
}

std::string DefaultProfilePath()
{
    const std::filesystem::path folder = platform::WindowsFolder();
    return folder.empty() ? std::string() : (folder / "DeskWarden.ini").string();
}

std::optional<WindowPlacement> LoadPlacement(const std::string& profilePath)
{
    if (profilePath.empty())
        return std::nullopt;
    return ParsePlacement(CIniFile(profilePath).ReadString(kSection, kKey, ""));
}

bool SavePlacement(const std::string& profilePath, const WindowPlacement& placement)
{
    if (profilePath.empty())
        return false;
    std::string error;
    if (!platform::EnsureFolder(std::filesystem::path(profilePath).parent_path(), error))
        return false;
    return CIniFile(profilePath).WriteString(kSection, kKey, FormatPlacement(placement)) == 1;
}

} // namespace deskwarden::app
