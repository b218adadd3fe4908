#pragma once

#include <string>

/** The files of one skin, from its name and the application folder. */
struct SkinPaths
{
    /** Skin name upper-cased, as the skin's messages show it. */
    std::string skinName;
    /** Application folder + "/skin/" + folder + "/skin.ini". */
    std::string iniPath;
    /** The folder of skin.ini with a trailing '/'. */
    std::string folder;
    /** Application folder + "/wave" (the prompt sounds). */
    std::string waveFolder;

    /**
     * Builds the paths. Skin names are upper-cased as on a file system that ignores case; on this one the
     * folder is looked up as named, then upper-cased, then by a case-blind match, so "default",
     * "DEFAULT" and "Default" all find the folder "default".
     */
    static SkinPaths Make(const std::string& skin, const std::string& appPath);
};
