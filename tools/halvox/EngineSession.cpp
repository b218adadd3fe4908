#include "EngineSession.h"

#include <cstdio>
#include <filesystem>
#include <limits>

#include "EnginePaths.h"
#include "HalvoxEngine.h"

namespace halvox::tool {

bool ParseSessionArguments(const Arguments& args, SessionSettings* s, std::vector<std::string>* files)
{
    constexpr int kAnyInt = std::numeric_limits<int>::max();
    bool wordCheck = false;
    std::string error;
    const bool parsed = tools::ArgumentParser()
                            .Text("dir", &s->folder)
                            .Text("user", &s->userId)
                            .Text("word", &s->wordCode)
                            .Text("text", &s->wordText)
                            .Integer("repeat", 1, 20, &s->repeat)
                            .Number("margin", &s->margin)
                            .Number("same-word", &s->sameWordThreshold)
                            .Integer("noise-mode", -kAnyInt, kAnyInt, &s->noiseMode)
                            .Switch("word-check", &wordCheck)
                            .Switch("per-user-folders", &s->perUserFolders)
                            .Switch("no-live-check", &s->liveCheck, false)
                            .Switch("no-adapt", &s->adapt, false)
                            .Text("history", &s->historyPath)
                            .Switch("remember", &s->remember)
                            .Operands(files)
                            .Parse(args, error);
    if (!parsed) {
        UsageError(error);
        return false;
    }
    s->wordCheck = wordCheck ? 1 : 0;
    if (s->remember && s->historyPath.empty()) {
        UsageError("--remember needs --history");
        return false;
    }
    if (s->folder.empty() || s->userId.empty() || s->wordCode.size() != 3) {
        UsageError("--dir, --user and a three-character --word are required");
        return false;
    }
    return true;
}

bool OpenEngineSession(const SessionSettings& s, int mode)
{
    if (SVE_Initialize() == nullptr) {
        std::fprintf(stderr, "halvox: the engine could not be started (out of memory)\n");
        return false;
    }
    SVE_SetbNetVersion(s.perUserFolders ? 0 : 1);
    SVE_PutDir(s.folder.c_str());
    SVE_AnalParams(11025, 3000, 240, 80);
    SVE_NoiseParams(s.noiseMode, 0.0, 1);
    SVE_EngineParams(16, 19, 5, 128);
    SVE_CopyParams(2.4);
    SVE_SetbSpeech(s.wordCheck);
    SVE_SameWordDist(s.sameWordThreshold);
    SVE_HMMParams(s.adapt ? 1 : 0, 0.0005, 0.8, 0.1, 0.1);
    SVE_EPDParams(60, 250, 200, 100000);
    SVE_Security(s.margin);
    SVE_PutMode(mode);
    SVE_PutID(s.userId.c_str());
    SVE_PutPW(s.wordText.c_str());
    SVE_PutNick(s.wordCode.c_str());
    if (mode == 1)
        SVE_PutMaxRepeat(s.repeat);
    return true;
}

void CloseEngineSession()
{
    SVE_DestructMemories();
    SVE_Destruct();
}

bool WantsEndRefinement(const std::string& wordCode)
{
    return wordCode == "acj" || wordCode == "adj" || wordCode == "aej";
}

std::string SessionUserModelPath(const SessionSettings& s)
{
    std::string folder = s.folder;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return UserModelPath(folder, s.perUserFolders, s.userId, s.wordCode);
}

} // namespace halvox::tool
