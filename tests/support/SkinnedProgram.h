#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace warden::test {

/** A dialog under test plays its sounds nowhere and leaves the machine's mixer alone. */
inline void SilenceAudio()
{
    ::setenv("WARDEN_AUDIO_OUTPUT", "null", 1);
    ::setenv("WARDEN_AUDIO_MIXER", "none", 1);
}

inline void RestoreAudio()
{
    ::unsetenv("WARDEN_AUDIO_OUTPUT");
    ::unsetenv("WARDEN_AUDIO_MIXER");
}

/** Copies the shipped default skin from `dataFolder` into the program folder, where the dialogs look for it. */
inline void CopyDefaultSkin(const std::string& dataFolder, const std::string& programFolder)
{
    namespace fs = std::filesystem;
    fs::create_directories(programFolder + "/skin");
    fs::copy(dataFolder + "/skin/default", programFolder + "/skin/default", fs::copy_options::recursive);
}

} // namespace warden::test
