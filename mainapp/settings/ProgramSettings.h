#pragma once

#include <string>

class CSetupFile;

namespace deskwarden::settings {

/** What the program settings page shows and saves. */
struct ProgramSettingsForm
{
    bool secureMakeType = false; // decrypted files go below the secure folder
    std::string secureFolder;
    bool logonVoice = false; // as the registry shows it, not as the secure settings remember it
    bool deleteSource = false;
    bool deleteBundle = false;
    int logonAuthMode = 1; // 0 voice and password, 1 voice, 2 password
    int fileAuthMode = 1;
};

/** Where the logon integration's files and programs are: it depends on the machine, not on the page. */
struct LogonPlace
{
    bool ntFamily = true;
    std::string systemFolder;
    std::string programFolder;
};

/** How saving the page ended. */
enum class SaveResult
{
    Saved,
    SavedAskRestart, // the voice logon was just switched on: it takes effect after a restart
    InvalidFolder, // nothing after the make type was stored; the page stays open
};

/** The page's values from the settings, the secure settings and the registry. */
ProgramSettingsForm LoadProgramSettings(const CSetupFile& setup, bool ntFamily);

/**
 * Stores the page: the make type, then (when the folder is acceptable and could be made) the folder, then
 * the secure settings; a changed logon switch is stored first and then switched in the registry. A page
 * that changes nothing about the logon writes nothing to the registry.
 */
SaveResult SaveProgramSettings(const ProgramSettingsForm& form, CSetupFile& setup, const LogonPlace& place);

} // namespace deskwarden::settings
