#include "EngineSession.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "EnginePaths.h"
#include "HalvoxEngine.h"

namespace halvox::tool {

namespace {

bool TakeValue(const Arguments& args, size_t* i, std::string* value)
{
    if (*i + 1 >= args.size()) {
        std::fprintf(stderr, "halvox: option %s needs a value\n", args[*i].c_str());
        return false;
    }
    *value = args[++*i];
    return true;
}

bool ToNumber(const std::string& option, const std::string& text, double* value)
{
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0') {
        std::fprintf(stderr, "halvox: %s wants a number, not \"%s\"\n", option.c_str(), text.c_str());
        return false;
    }
    return true;
}

} // namespace

bool ParseSessionArguments(const Arguments& args, SessionSettings* s, std::vector<std::string>* files)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string v;
        double number = 0;
        if (a == "--dir" || a == "--user" || a == "--word" || a == "--text") {
            if (!TakeValue(args, &i, &v))
                return false;
            (a == "--dir" ? s->folder : a == "--user" ? s->userId : a == "--word" ? s->wordCode : s->wordText) = v;
        } else if (a == "--repeat" || a == "--margin" || a == "--same-word" || a == "--noise-mode") {
            if (!TakeValue(args, &i, &v) || !ToNumber(a, v, &number))
                return false;
            if (a == "--repeat")
                s->repeat = static_cast<int>(number);
            else if (a == "--margin")
                s->margin = static_cast<float>(number);
            else if (a == "--same-word")
                s->sameWordThreshold = static_cast<float>(number);
            else
                s->noiseMode = static_cast<int>(number);
        } else if (a == "--word-check") {
            s->wordCheck = 1;
        } else if (a == "--per-user-folders") {
            s->perUserFolders = true;
        } else if (a == "--no-live-check") {
            s->liveCheck = false;
        } else if (a == "--no-adapt") {
            s->adapt = false;
        } else if (a.rfind("--", 0) == 0) {
            std::fprintf(stderr, "halvox: unknown option %s\n", a.c_str());
            return false;
        } else {
            files->push_back(a);
        }
    }
    if (s->folder.empty() || s->userId.empty() || s->wordCode.size() != 3) {
        std::fprintf(stderr, "halvox: --dir, --user and a three-character --word are required\n");
        return false;
    }
    if (s->repeat < 1 || s->repeat > 20) {
        std::fprintf(stderr, "halvox: --repeat must lie between 1 and 20\n");
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
