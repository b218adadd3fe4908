#pragma once

#include <platform/Registry.h>

#include <optional>
#include <string>

// Text values of the registry as the shell's own settings keep them: stored without a terminating zero.
// CRegistryEx always stores the terminator, which the readers of these particular values do not expect.
namespace deskwarden::settings::registry_text {

/** Writes `text` as a REG_SZ value of `key` below `root` (the key created when missing); true on success. */
bool WriteBare(platform::HKEY root, const std::string& key, const std::string& name, const std::string& text);

/** The text value `name` of `key`, up to its first zero byte; nullopt when the key or value is missing. */
std::optional<std::string> Read(platform::HKEY root, const std::string& key, const std::string& name);

/** Deletes the value `name` of `key`; true when it is gone afterwards (also when it never was there). */
bool Delete(platform::HKEY root, const std::string& key, const std::string& name);

} // namespace deskwarden::settings::registry_text
