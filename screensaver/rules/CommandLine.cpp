#include "rules/CommandLine.h"

#include <charconv>

namespace screenveil {

namespace {

bool IsPreviewSwitch(const std::string& argument)
{
    return argument.size() == 2 && (argument[0] == '/' || argument[0] == '-') && argument[1] == 'p';
}

std::uint64_t WindowId(const std::vector<std::string>& arguments)
{
    if (arguments.size() < 2)
        return 0;
    const std::string& text = arguments[1];
    std::uint64_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (error != std::errc() || end != text.data() + text.size())
        return 0;
    return id;
}

} // namespace

StartRequest ParseCommandLine(const std::vector<std::string>& arguments)
{
    StartRequest request;
    if (arguments.empty())
        return request;
    const std::string& first = arguments.front();
    if (IsPreviewSwitch(first)) {
        request.action = StartAction::Preview;
        request.previewWindow = WindowId(arguments);
        return request;
    }
    const char letter = first.size() >= 2 ? first[1] : '\0';
    switch (letter) {
    case 'c':
        request.action = StartAction::Settings;
        break;
    case 's':
        request.action = StartAction::SystemStart;
        break;
    case 'a':
        request.action = StartAction::Exit;
        break;
    default:
        break;
    }
    return request;
}

} // namespace screenveil
