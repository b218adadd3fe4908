#pragma once

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace deskwarden::settings {

/**
 * The interactive choices of the settings windows: a folder from the folder browser and an item of a popup
 * menu at the cursor. They block until the user chooses, so tests put their own answers in their place.
 */
struct SettingsPrompts
{
    /** The chosen folder, or "" when cancelled. */
    std::function<std::string(QWidget* owner, const std::string& prompt)> chooseFolder;
    /** The index of the chosen item, or -1 when the menu closed without a choice. */
    std::function<int(QWidget* owner, const std::vector<std::string>& items)> chooseMenuItem;
};

/** The prompts in use; the real dialogs until replaced. */
SettingsPrompts& Prompts();

/** Puts the real dialogs back. */
void RestoreDefaultPrompts();

} // namespace deskwarden::settings
