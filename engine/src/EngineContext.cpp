#include "EngineContext.h"

#include <cstdio>
#include <cstring>

namespace halvox {

// The Linux counterpart of the engine's traditional program-files folder.
const char* const kDefaultFolder = "/opt/OpenHalvox/";

EngineContext::EngineContext()
{
    std::memset(folder, 0, sizeof folder);
    std::memset(userId, 0, sizeof userId);
    std::memset(wordText, 0, sizeof wordText);
    std::memset(wordCode, 0, sizeof wordCode);
    std::memset(statusText, 0, sizeof statusText);
    std::memset(labelText, 0, sizeof labelText);
    CopyText(folder, kDefaultFolder);
    CopyText(wordText, "veskaloriman");
    CopyText(wordCode, "aak");
    std::memcpy(headerOut.magic, "SLfmt ", 6);
    headerOut.versionMajor = 3;
    headerOut.versionMinor = 8;
}

WorkMemoryShape EngineContext::CurrentShape() const
{
    return WorkMemoryShape {
        sampleRate, maxDurationMs, frameShift, maxRepeat, featureDim, codebookSize, hmmStates, hmmSymbols};
}

void CopyText(char (&field)[kTextSize], const char* text, int limit)
{
    std::memset(field, 0, sizeof field);
    if (text == nullptr)
        return;
    size_t length = strnlen(text, static_cast<size_t>(limit));
    std::memcpy(field, text, length);
}

void SetLabel(EngineContext& context, const char* format, const std::string& argument)
{
    std::snprintf(context.labelText, sizeof context.labelText, format, argument.c_str());
}

} // namespace halvox
