#pragma once

#include <ctime>
#include <string>

namespace talk::voice {

/** The wall clock of the voice dialog: the result log's time stamp and the seed of the word choice. */
class VoiceClock
{
public:
    virtual ~VoiceClock() = default;
    /** The local date and time now. */
    virtual std::tm LocalNow() = 0;
};

/** The system clock in the local time zone. */
class SystemVoiceClock final : public VoiceClock
{
public:
    std::tm LocalNow() override;
};

/** Asks the user for the removable drive holding the by-pass key (a drive selection dialog). */
class BypassDriveChooser
{
public:
    virtual ~BypassDriveChooser() = default;
    /** The chosen drive's mount point, or "" when the user cancelled or there is no removable drive. */
    virtual std::string ChooseDrive() = 0;
};

} // namespace talk::voice
