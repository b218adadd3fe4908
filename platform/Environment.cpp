#include "Environment.h"

#include <algorithm>
#include <cstdlib>

namespace platform {

std::span<const EnvironmentVariable> EnvironmentVariables() noexcept
{
    return kEnvironmentVariables;
}

std::optional<std::string> EnvironmentSetting(EnvironmentKey key)
{
    // The suite's one call of getenv: every other reader goes through the table.
    const char* value = std::getenv(std::string(key.Variable().name).c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<std::string> EnvironmentText(EnvironmentKey key)
{
    std::optional<std::string> value = EnvironmentSetting(key);
    if (value && value->empty()) {
        return std::nullopt;
    }
    return value;
}

bool EnvironmentIs(EnvironmentKey key, std::string_view word)
{
    const std::optional<std::string> value = EnvironmentSetting(key);
    return value && *value == word;
}

std::string EnvironmentSettingOrDefault(EnvironmentKey key)
{
    if (std::optional<std::string> value = EnvironmentSetting(key)) {
        return *value;
    }
    std::string fallback(key.Variable().defaultValue);
    std::erase(fallback, '`');
    return fallback;
}

} // namespace platform
