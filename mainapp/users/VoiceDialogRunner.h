#pragma once

#include <string>

namespace deskwarden::users {

inline constexpr int kVoiceEnrol = 1;
inline constexpr int kVoiceVerify = 2;
inline constexpr int kPurposeUser = 4;
inline constexpr int kVoiceAccepted = 1;

/** The inputs the voice dialog is shown with. */
struct VoiceRequest
{
    int mode = kVoiceEnrol;
    int purpose = 0;
    int enrolRepeat = 5;
    int verifyRepeat = 1;
    std::string userId;
    std::string word;
    std::string nick;
};

/** What the voice dialog ended with: its result (1 success) and its Word, Nick and UserID outputs. */
struct VoiceReply
{
    int result = 0;
    std::string word;
    std::string nick;
    std::string userId; // the user the dialog verified (it may have been typed into the dialog)
};

/** Shows the voice dialog on the application's stores; the program's is a CVoiceDlg, tests script one. */
class VoiceDialogRunner
{
public:
    virtual ~VoiceDialogRunner() = default;
    virtual VoiceReply Run(const VoiceRequest& request) = 0;
};

} // namespace deskwarden::users
