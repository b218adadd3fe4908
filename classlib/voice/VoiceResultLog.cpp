#include "voice/VoiceResultLog.h"

#include "voice/VoiceTexts.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace talk::voice {

std::string FormatResultLine(
    const std::tm& when, const std::string& userId, int purpose, bool accepted, const std::string& reason)
{
    char stamp[32];
    // Each part is two digits, the year too: the log has always shown the century-less year.
    std::snprintf(stamp, sizeof stamp, "%02d-%02d-%02d %02d:%02d:%02d", (when.tm_year + 1900) % 100,
        (when.tm_mon + 1) % 100, when.tm_mday % 100, when.tm_hour % 100, when.tm_min % 100, when.tm_sec % 100);
    return "[" + std::string(stamp) + "] " + userId + " : " + PurposeWord(purpose) + " : "
        + (accepted              ? "Accept"
                : reason.empty() ? "Denied"
                                 : "Denied (" + reason + ")")
        + "\n";
}

bool AppendResultLine(const std::string& appPath, const std::string& line) noexcept
{
    // The log names users and their decisions: readable by the installation's owner only, like the stores.
    const int fd = ::open((appPath + kResultLogName).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const ssize_t written = ::write(fd, line.data(), line.size());
    ::close(fd);
    return written == static_cast<ssize_t>(line.size());
}

} // namespace talk::voice
