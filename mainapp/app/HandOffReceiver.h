#pragma once

#include <string_view>

namespace deskwarden::files {
class FileList;
}

namespace deskwarden::app {

/** What the main window does once a hand-off's paths are listed. */
enum class FollowUp
{
    None,
    StartEncryption,
    StartDecryption,
};

/**
 * Lists the paths of the hand-off text `text` and says what to start next. A text that does not read, or
 * whose count is 0, changes nothing. Command 2 offers the last path once more, which adds nothing new.
 */
FollowUp ReceiveHandOff(std::string_view text, files::FileList& list);

} // namespace deskwarden::app
