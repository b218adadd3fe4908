#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "OperationDecisions.h"
#include "WorkMemory.h"

namespace halvox {

constexpr int kTextSize = 256;

// Header record of a model file: what the next write will carry, or what the last read found.
struct HeaderRecord
{
    char magic[6] = {};
    int32_t headerLength = 0;
    int32_t bodyLength = 0;
    int16_t versionMajor = 0;
    int16_t versionMinor = 0;
};

// The engine's single context record. Field order and defaults are part of the engine's contract.
struct EngineContext
{
    EngineContext();

    char folder[kTextSize];
    char userId[kTextSize];
    char wordText[kTextSize];
    char wordCode[kTextSize];
    char statusText[kTextSize];
    char labelText[kTextSize];
    int workMemoryReady = 0;
    int adaptOnAccept = 1;
    int wordCheck = 1;
    int perUserFolders = 1;
    int modelUpdated = 0;
    int noiseParam3 = 1;
    int sampleRate = 11025;
    int maxDurationMs = 3000;
    float sameWordThreshold = 1.0f;
    float securityMargin = 0.26f;
    float trainedRatio = 0.0f;
    int startFrame = 0;
    int endFrame = 0;
    int errorNumber = 0;
    int mode = 2;
    int noiseMode = 1;
    double convergence = 0.0005;
    double updateWeight1 = 0.8;
    double updateWeight2 = 0.1;
    double updateWeight3 = 0.1;
    double noiseParam2 = 0.0;
    double copyFactor = 2.4;
    int windowLength = 240;
    int frameShift = 80;
    int cepstralOrder = 19;
    int lpcOrder = 16;
    int maxRepeat = 3;
    int featureDim = 20;
    int codebookSize = 128;
    int combinedSize = 256;
    int hmmStates = 5;
    int hmmSymbols = 128;
    int sex = 0;
    int maleCount = 0;
    int femaleCount = 0;
    int epdMinFrames = 60;
    int epdMaxFrames = 250;
    int epdParam3 = 200;
    int epdParam4 = 100000;
    HeaderRecord headerOut;
    HeaderRecord headerIn;
    std::unique_ptr<WorkMemory> work;
    // The figures behind statusText and the checks' label lines, for tools that run the engine in-process.
    OperationDecisions decisions;

    bool IsEnrolment() const { return mode == 1; }
    WorkMemoryShape CurrentShape() const;
};

// Copies text into a fixed field, cutting it so that the terminator always fits in `limit` bytes.
void CopyText(char (&field)[kTextSize], const char* text, int limit = kTextSize - 1);

// Replaces the label text with a formatted diagnostic line (cut at the field size).
void SetLabel(EngineContext& context, const char* format, const std::string& argument);

// Default engine folder of a fresh context.
extern const char* const kDefaultFolder;

} // namespace halvox
