#include "voice/VoiceEngine.h"

#include "HalvoxEngine.h"

namespace talk::voice {

// The engine's exports never throw, so each method is a plain forward.

bool HalvoxVoiceEngine::Initialize()
{
    return SVE_Initialize() != nullptr;
}
void HalvoxVoiceEngine::Destruct()
{
    SVE_Destruct();
}
void HalvoxVoiceEngine::DestructMemories()
{
    SVE_DestructMemories();
}
void HalvoxVoiceEngine::SetbNetVersion(int on)
{
    SVE_SetbNetVersion(on);
}
void HalvoxVoiceEngine::PutDir(const std::string& folder)
{
    SVE_PutDir(folder.c_str());
}
void HalvoxVoiceEngine::PutID(const std::string& id)
{
    SVE_PutID(id.c_str());
}
void HalvoxVoiceEngine::PutPW(const std::string& text)
{
    SVE_PutPW(text.c_str());
}
void HalvoxVoiceEngine::PutNick(const std::string& code)
{
    SVE_PutNick(code.c_str());
}
void HalvoxVoiceEngine::PutMode(int mode)
{
    SVE_PutMode(mode);
}
void HalvoxVoiceEngine::PutMaxRepeat(int count)
{
    SVE_PutMaxRepeat(count);
}

void HalvoxVoiceEngine::AnalParams(int sampleRate, int maxDurationMs, int windowLength, int frameShift)
{
    SVE_AnalParams(sampleRate, maxDurationMs, windowLength, frameShift);
}

void HalvoxVoiceEngine::NoiseParams(int noiseMode, double noiseParam2, int noiseParam3)
{
    SVE_NoiseParams(noiseMode, noiseParam2, noiseParam3);
}

void HalvoxVoiceEngine::EngineParams(int lpcOrder, int cepstralOrder, int hmmStates, int codebookSize)
{
    SVE_EngineParams(lpcOrder, cepstralOrder, hmmStates, codebookSize);
}

void HalvoxVoiceEngine::CopyParams(double factor)
{
    SVE_CopyParams(factor);
}
void HalvoxVoiceEngine::SetbSpeech(int on)
{
    SVE_SetbSpeech(on);
}
void HalvoxVoiceEngine::SameWordDist(float threshold)
{
    SVE_SameWordDist(threshold);
}

void HalvoxVoiceEngine::HMMParams(int adaptOnAccept, double convergence, double weight1, double weight2, double weight3)
{
    SVE_HMMParams(adaptOnAccept, convergence, weight1, weight2, weight3);
}

void HalvoxVoiceEngine::EPDParams(int minFrames, int maxFrames, int p3, int p4)
{
    SVE_EPDParams(minFrames, maxFrames, p3, p4);
}

void HalvoxVoiceEngine::Security(float margin)
{
    SVE_Security(margin);
}

int HalvoxVoiceEngine::GetEndpointShort(int16_t* samples, int count, int trimEnd)
{
    return SVE_GetEndpointShort(samples, count, trimEnd);
}

int64_t HalvoxVoiceEngine::GetEndpointValue()
{
    return SVE_GetEndpointValue();
}
int HalvoxVoiceEngine::GetShiftValue()
{
    return SVE_GetShiftValue();
}
int HalvoxVoiceEngine::GetErrorNumber()
{
    return SVE_GetErrorNumber();
}

std::string HalvoxVoiceEngine::GetLabelString()
{
    const char* text = SVE_GetLabelString();
    return text ? std::string(text) : std::string();
}

int HalvoxVoiceEngine::CheckSexSpeech(int16_t* samples, int count, int index)
{
    return SVE_CheckSexSpeech(samples, count, index);
}

int HalvoxVoiceEngine::Train()
{
    return SVE_Train();
}
int HalvoxVoiceEngine::Verify()
{
    return SVE_Verify();
}
int HalvoxVoiceEngine::VCopy()
{
    return SVE_VCopy();
}
int HalvoxVoiceEngine::GetbUpdate()
{
    return SVE_GetbUpdate();
}

} // namespace talk::voice
