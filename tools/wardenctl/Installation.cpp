#include "Installation.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "CorpusManifest.h"
#include "EngineDataInstall.h"
#include "IniFile.h"
#include "Setup/SetupFile.h"

#include <platform/SystemRoot.h>

#include <sys/stat.h>

namespace wardenctl {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDefaultSkin = "default";
constexpr const char* kUserDicName = "halvoxuid.dat";

bool EnsureFolders(const std::vector<fs::path>& folders, std::string& error)
{
    for (const fs::path& folder : folders) {
        if (!platform::EnsureFolder(folder, error)) {
            return false;
        }
    }
    return true;
}

// The copies are the installation owner's alone, like everything else in the folder.
bool CopyFiles(const fs::path& from, const fs::path& to, std::size_t& copied, std::string& error)
{
    if (!platform::EnsureFolder(to, error)) {
        return false;
    }
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, ec)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const fs::path target = to / entry.path().filename();
        if (!fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing, ec)) {
            error = "cannot copy " + entry.path().string() + " to " + to.string() + ": " + ec.message();
            return false;
        }
        ::chmod(target.c_str(), 0600);
        ++copied;
    }
    if (ec) {
        error = "cannot read " + from.string() + ": " + ec.message();
        return false;
    }
    return true;
}

// The engine never creates folders; each model folder is made 0700 before the models are copied in.
bool InstallEngineModels(const fs::path& source, const fs::path& folder, std::string& error)
{
    std::vector<fs::path> folders {folder / "user", folder / "work"};
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(source, ec)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory() && (name == "iwrec" || name.rfind("word", 0) == 0)) {
            folders.push_back(folder / name);
        }
    }
    if (ec) {
        error = "cannot read the engine data " + source.string() + ": " + ec.message();
        return false;
    }
    return EnsureFolders(folders, error) && modelbuild::InstallEngineData(source.string(), folder.string(), error);
}

// The slides are pictures only: an installation without them still locks, it merely shows no slide show.
bool InstallImages(const fs::path& source, const fs::path& target, std::size_t& copied, std::string& error)
{
    if (!fs::is_directory(source)) {
        return true;
    }
    return CopyFiles(source, target, copied, error);
}

bool ReadWords(const fs::path& vocabulary, std::vector<std::pair<std::string, std::string>>& words, std::string& error)
{
    std::vector<modelbuild::VocabularyEntry> entries;
    if (!modelbuild::ReadVocabularyList(vocabulary.string(), &entries, error)) {
        return false;
    }
    for (const modelbuild::VocabularyEntry& entry : entries) {
        words.emplace_back(entry.code, entry.display);
    }
    return true;
}

// A value already there, even one the administrator changed, wins over the default.
std::size_t AddMissingSettings(
    const std::string& settingsPath, const std::vector<DefaultSetting>& defaults, std::string& error)
{
    CIniFile settings(settingsPath);
    std::size_t added = 0;
    for (const DefaultSetting& setting : defaults) {
        if (!settings.ReadString(setting.section, setting.key, "").empty()) {
            continue;
        }
        if (!settings.WriteString(setting.section, setting.key, setting.value)) {
            error = "cannot write the settings file " + settingsPath;
            return added;
        }
        ++added;
    }
    return added;
}

bool RegisterAndCreateStores(
    const fs::path& folder, const std::vector<DefaultSetting>& defaults, InstallOutcome& outcome, std::string& error)
{
    CSetupFile setup;
    if (!setup.SetAppPath(folder.string())) {
        error = "cannot register " + folder.string() + " (longer than 199 bytes, or registry failure)";
        return false;
    }
    outcome.storesKept = fs::exists(folder / kUserDicName);
    if (!setup.Initialize()) {
        error = "cannot create the secure settings in " + folder.string();
        return false;
    }
    CAppUserDic users;
    if (!users.SetUserDicFilePath((folder / kUserDicName).string())) {
        error = "cannot create the user dictionary: " + users.GetLastErrorText();
        return false;
    }
    std::vector<std::string> ids;
    users.GetUserIDList(ids);
    outcome.userCount = ids.size();
    CAppUserVoiceDic voices;
    if (!voices.SetVoiceDicPath(folder.string())) {
        error = "cannot create the voice dictionary: " + voices.GetLastErrorText();
        return false;
    }
    error.clear();
    outcome.settingsAdded = AddMissingSettings(setup.GetSetupFilePath(), defaults, error);
    return error.empty();
}

} // namespace

ShippedData ShippedDataIn(const fs::path& dataFolder)
{
    return ShippedData {
        dataFolder / "engine",
        dataFolder / "skin" / kDefaultSkin,
        dataFolder / "wave",
        dataFolder / "vocabulary.tsv",
        dataFolder / "images",
    };
}

std::vector<DefaultSetting> DefaultSettings(const std::vector<std::pair<std::string, std::string>>& words)
{
    std::vector<DefaultSetting> settings {
        {CSetupFile::kSectionVoiceRecog, CSetupFile::kKeySkin, kDefaultSkin},
        {CSetupFile::kSectionVoiceRecog, CSetupFile::kKeySkinList, kDefaultSkin},
        {CSetupFile::kSectionVoiceRecog, CSetupFile::kKeyNarration, "1"},
    };
    for (const auto& [code, word] : words) {
        settings.push_back({CSetupFile::kSectionWordList, code, word});
    }
    return settings;
}

bool Install(const fs::path& folder, const ShippedData& data, InstallOutcome& outcome, std::string& error)
{
    outcome = InstallOutcome {};
    outcome.folder = folder;
    for (const fs::path& part : {data.engine, data.skin, data.sounds}) {
        if (!fs::is_directory(part)) {
            error = "no shipped data folder " + part.string() + " (name the data folder with --data)";
            return false;
        }
    }
    std::vector<std::pair<std::string, std::string>> words;
    if (!ReadWords(data.vocabulary, words, error)) {
        return false;
    }
    std::size_t skinFiles = 0;
    // The stores come first: an installation cut short is then one that a second run completes.
    return EnsureFolders({folder, folder / "tmp"}, error)
        && RegisterAndCreateStores(folder, DefaultSettings(words), outcome, error)
        && InstallEngineModels(data.engine, folder, error)
        && CopyFiles(data.skin, folder / "skin" / kDefaultSkin, skinFiles, error)
        && CopyFiles(data.sounds, folder / "wave", outcome.soundCount, error)
        && InstallImages(data.images, folder / "images", outcome.imageCount, error);
}

} // namespace wardenctl
