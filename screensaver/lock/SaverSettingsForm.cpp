#include "lock/SaverSettingsForm.h"

#include "lock/LockSettings.h"
#include "settings/RegistryText.h"
#include "settings/ScreenSaverRegistration.h"

#include "Setup/SetupFile.h"

#include <platform/AsciiCase.h>

#include <algorithm>
#include <cstdlib>

namespace screenveil {

namespace {

namespace registry_text = deskwarden::settings::registry_text;
namespace saver = deskwarden::settings::screen_saver;

constexpr const char* kTimeoutValue = "ScreenSaveTimeOut";

bool Listed(const std::vector<std::string>& list, const std::string& path)
{
    return std::any_of(list.begin(), list.end(),
        [&](const std::string& listed) { return platform::EqualsIgnoringAsciiCase(listed, path); });
}

std::string RangeText(int low, int high)
{
    return std::to_string(low) + " から " + std::to_string(high) + " までの整数を入力してください。";
}

bool WriteTimeout(int minutes)
{
    const std::string seconds = std::to_string(minutes * 60);
    const bool current
        = registry_text::WriteBare(platform::HKEY_CURRENT_USER, saver::kCurrentUserDesktop, kTimeoutValue, seconds);
    const bool defaults
        = registry_text::WriteBare(platform::HKEY_USERS, saver::kDefaultUserDesktop, kTimeoutValue, seconds);
    return current && defaults;
}

} // namespace

int ReadSaverTimeout()
{
    const auto text = registry_text::Read(platform::HKEY_CURRENT_USER, saver::kCurrentUserDesktop, kTimeoutValue);
    return text ? std::atoi(text->c_str()) : 0;
}

void SaverSettingsForm::Load(const CSetupFile& setup)
{
    pictures.clear();
    setup.GetScrImageFileList(pictures);
    display = ReadDisplaySettings(setup);
    intervalSeconds = display.waitSeconds;
    waitingMinutes = ReadSaverTimeout() / 60;
    autoStart = setup.GetScrAuto() == 1;
    comment = setup.GetScrComment();
}

int SaverSettingsForm::AddPictures(const std::vector<std::string>& paths)
{
    int added = 0;
    for (const std::string& path : paths) {
        if (path.empty() || Listed(pictures, path))
            continue;
        pictures.push_back(path);
        ++added;
    }
    return added;
}

void SaverSettingsForm::RemovePictures(std::vector<int> selected, int focused)
{
    if (selected.empty() && focused >= 0)
        selected.push_back(focused);
    std::sort(selected.rbegin(), selected.rend());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    for (int row : selected)
        if (row >= 0 && static_cast<std::size_t>(row) < pictures.size())
            pictures.erase(pictures.begin() + row);
}

std::optional<FormRefusal> SaverSettingsForm::Validate() const
{
    if (intervalSeconds < 5 || intervalSeconds > 30)
        return FormRefusal {kIntervalField, RangeText(5, 30)};
    if (waitingMinutes < 1 || waitingMinutes > 60)
        return FormRefusal {kWaitingField, RangeText(1, 60)};
    return std::nullopt;
}

bool SaverSettingsForm::Save(CSetupFile& setup, const SaverSystem& system) const
{
    DisplaySettings written = display;
    written.waitSeconds = intervalSeconds;
    bool ok = WriteDisplaySettings(setup, written);
    ok = setup.SetScrComment(comment) != 0 && ok;
    ok = setup.SetScrImageFile(pictures) != 0 && ok;
    ok = WriteTimeout(waitingMinutes) && ok;
    saver::SetRegistered(autoStart, system.ntFamily, system.systemFolder, system.windowsFolder, setup);
    return ok;
}

} // namespace screenveil
