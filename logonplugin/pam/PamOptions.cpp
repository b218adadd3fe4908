#include "PamOptions.h"

#include <charconv>

namespace wardengate::pam {
namespace {

constexpr int kMaxTimeoutSeconds = 600;
constexpr int kMaxAttempts = 5;

bool ParseNumber(const std::string& text, int low, int high, int& value)
{
    int parsed = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (status != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

bool ApplyOption(const std::string& name, const std::string& value, PamOptions& options)
{
    if (name == "root" || name == "helper") {
        if (value.empty() || value.front() != '/')
            return false;
        (name == "root" ? options.root : options.helper) = value;
        return true;
    }
    if (name == "timeout")
        return ParseNumber(value, 1, kMaxTimeoutSeconds, options.timeoutSeconds);
    if (name == "attempts")
        return ParseNumber(value, 1, kMaxAttempts, options.attempts);
    return false;
}

} // namespace

bool ParsePamOptions(const std::vector<std::string>& arguments, const std::string& defaultHelper, PamOptions& options,
    std::string& error)
{
    options.helper = defaultHelper;
    for (const std::string& argument : arguments) {
        const std::size_t equals = argument.find('=');
        if (equals == std::string::npos
            || !ApplyOption(argument.substr(0, equals), argument.substr(equals + 1), options)) {
            error = "bad module argument: " + argument;
            return false;
        }
    }
    return true;
}

} // namespace wardengate::pam
