#include "settings/ProgramSettings.h"

#include "settings/LogonIntegration.h"
#include "settings/SecureFolder.h"

#include "Setup/SetupFile.h"

namespace deskwarden::settings {

ProgramSettingsForm LoadProgramSettings(const CSetupFile& setup, bool ntFamily)
{
    const CSetupSecure::tagSecureSettings secure = setup.GetSecureAppSettings();
    ProgramSettingsForm form;
    form.secureMakeType = setup.GetAppSecureMakeType() == 1;
    form.secureFolder = setup.GetAppSecureFolder();
    form.logonVoice = logon::IsOn(ntFamily);
    form.deleteSource = secure.deleteSourceAfterEncrypt == 1;
    form.deleteBundle = secure.deleteBundleAfterDecrypt == 1;
    form.logonAuthMode = secure.logonAuthMode;
    form.fileAuthMode = secure.fileAuthMode;
    return form;
}

SaveResult SaveProgramSettings(const ProgramSettingsForm& form, CSetupFile& setup, const LogonPlace& place)
{
    setup.SetAppSecureMakeType(form.secureMakeType ? 1 : 0);
    if (!secure_folder::IsAcceptable(form.secureFolder) || !secure_folder::Create(form.secureFolder))
        return SaveResult::InvalidFolder;
    setup.SetAppSecureFolder(form.secureFolder);

    CSetupSecure::tagSecureSettings secure = setup.GetSecureAppSettings();
    secure.deleteSourceAfterEncrypt = form.deleteSource ? 1 : 0;
    secure.deleteBundleAfterDecrypt = form.deleteBundle ? 1 : 0;
    secure.logonAuthMode = form.logonAuthMode;
    secure.fileAuthMode = form.fileAuthMode;
    const bool logonChanged = (secure.logonVoiceEnabled == 1) != form.logonVoice;
    secure.logonVoiceEnabled = form.logonVoice ? 1 : 0;
    setup.SetSecureAppSettings(secure);
    if (!logonChanged)
        return SaveResult::Saved;
    if (!form.logonVoice) {
        logon::SwitchOff(place.ntFamily);
        return SaveResult::Saved;
    }
    logon::SwitchOn(place.ntFamily, place.systemFolder, place.programFolder);
    return SaveResult::SavedAskRestart;
}

} // namespace deskwarden::settings
