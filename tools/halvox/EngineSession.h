#pragma once

#include <string>

#include "ToolSupport.h"

namespace halvox::tool {

// The engine settings of one enrolment or verification, defaulting to what the voice dialog uses.
struct SessionSettings
{
    std::string folder;
    std::string userId;
    std::string wordCode;
    std::string wordText;
    int repeat = 5;
    float margin = 0.3f;
    float sameWordThreshold = 1.2f;
    int wordCheck = 0;
    int noiseMode = 0;
    bool perUserFolders = false; // the dialog keeps user models in the work folder
    bool liveCheck = true;
    bool adapt = true;
    std::string historyPath; // the captured-unlock check's store; "" leaves the check out
    bool remember = false; // an accepted reading joins the history, as the voice dialog's acceptances do
};

// Reads --dir, --user, --word, --text and the overriding options; the rest are recordings.
bool ParseSessionArguments(const Arguments& args, SessionSettings* settings, std::vector<std::string>* files);

// Starts the engine and configures it as the voice dialog does, with the overrides applied.
bool OpenEngineSession(const SessionSettings& settings, int mode);
void CloseEngineSession();

// The word codes whose recordings get the end refinement.
bool WantsEndRefinement(const std::string& wordCode);

// The user model file of the session, where training writes it.
std::string SessionUserModelPath(const SessionSettings& settings);

} // namespace halvox::tool
