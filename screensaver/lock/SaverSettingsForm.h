#pragma once

#include "rules/DisplaySettings.h"

#include <optional>
#include <string>
#include <vector>

class CSetupFile;

namespace screenveil {

/** Where the system's screen-saver values live: the family decides between registry and system.ini. */
struct SaverSystem
{
    bool ntFamily = true;
    std::string systemFolder;
    std::string windowsFolder;
};

/** A field of the settings dialog that refused its value, with the text that says why. */
struct FormRefusal
{
    int controlId = 0;
    std::string text;
};

/**
 * What the settings dialog edits, without the dialog: the pictures in order, the picture interval, the
 * waiting time before the desktop starts the lock, whether it does, the display settings and the comment.
 * Load reads the stores, Save writes them back after Validate found nothing to refuse.
 */
class SaverSettingsForm
{
public:
    static constexpr int kIntervalField = 1004;
    static constexpr int kWaitingField = 1007;

    void Load(const CSetupFile& setup);
    /** Appends each path not yet listed (letter case ignored). @return how many were added. */
    int AddPictures(const std::vector<std::string>& paths);
    /** Removes the rows `selected`, or the `focused` row when none is selected. */
    void RemovePictures(std::vector<int> selected, int focused);
    /** The first field out of its range: the interval 5 to 30, then the waiting time 1 to 60 (when it counts). */
    std::optional<FormRefusal> Validate() const;
    /** Writes everything. @return false when a value could not be written. */
    bool Save(CSetupFile& setup, const SaverSystem& system) const;

    std::vector<std::string> pictures;
    int intervalSeconds = 0;
    int waitingMinutes = 0;
    bool autoStart = false;
    DisplaySettings display;
    std::string comment;
};

/** The desktop's idle time before the lock starts, in seconds, as the registry keeps it; 0 when missing. */
int ReadSaverTimeout();

} // namespace screenveil
