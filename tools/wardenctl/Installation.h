#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// A working installation in one step: the folder, its registration, the shipped data and the stores a
// first start expects. Running it again refreshes the shipped data and keeps every store as it is, so
// users, voices and settings survive; only settings that are missing are added.
namespace wardenctl {

/** The shipped data below one data folder (the source tree's data/ by default). */
struct ShippedData
{
    std::filesystem::path engine; // word<K>/ and iwrec/: the engine's models
    std::filesystem::path skin; // the default skin
    std::filesystem::path sounds; // the prompt sounds
    std::filesystem::path vocabulary; // the password words: code, word, ...
    std::filesystem::path images; // the lock screen's slides; a data folder without them installs none
};

/** The parts of `dataFolder`; nothing is checked yet. */
ShippedData ShippedDataIn(const std::filesystem::path& dataFolder);

/** One settings-file value: section, key, value. */
struct DefaultSetting
{
    std::string section;
    std::string key;
    std::string value;
};

/**
 * The settings a first start reads from the settings file: the default skin, the prompt sounds switched
 * on, and the word list (one key per voice name, its word as value) from `words` (code, word pairs).
 */
std::vector<DefaultSetting> DefaultSettings(const std::vector<std::pair<std::string, std::string>>& words);

/** What one installation run found and did, for its report. */
struct InstallOutcome
{
    std::filesystem::path folder;
    bool storesKept = false; // the user dictionary was there before
    std::size_t userCount = 0;
    std::size_t settingsAdded = 0;
    std::size_t soundCount = 0;
    std::size_t imageCount = 0;
};

/**
 * Makes or refreshes the installation in `folder` (absolute): creates it 0700, registers it as the
 * installation folder, creates the stores that are missing and adds missing settings, then copies the
 * engine models, the default skin, the prompt sounds and the slides (into images/) over older copies.
 * @return false with a one-line reason in `error`; what was done before the failure stays.
 */
[[nodiscard]] bool Install(
    const std::filesystem::path& folder, const ShippedData& data, InstallOutcome& outcome, std::string& error);

} // namespace wardenctl
