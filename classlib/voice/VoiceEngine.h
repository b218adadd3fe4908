#pragma once

#include <cstdint>
#include <string>

namespace talk::voice {

/**
 * The engine calls the voice dialog makes, one method per engine function of the same name (without the
 * SVE_ prefix). The dialog's flow talks only to this interface so that tests can put a scripted engine in
 * its place; HalvoxVoiceEngine below is the real one. Methods never throw.
 */
class VoiceEngine
{
public:
    virtual ~VoiceEngine() = default;

    virtual bool Initialize() = 0;
    virtual void Destruct() = 0;
    virtual void DestructMemories() = 0;
    virtual void SetbNetVersion(int on) = 0;
    virtual void PutDir(const std::string& folder) = 0;
    virtual void PutID(const std::string& id) = 0;
    virtual void PutPW(const std::string& text) = 0;
    virtual void PutNick(const std::string& code) = 0;
    virtual void PutMode(int mode) = 0;
    virtual void PutMaxRepeat(int count) = 0;
    virtual void AnalParams(int sampleRate, int maxDurationMs, int windowLength, int frameShift) = 0;
    virtual void NoiseParams(int noiseMode, double noiseParam2, int noiseParam3) = 0;
    virtual void EngineParams(int lpcOrder, int cepstralOrder, int hmmStates, int codebookSize) = 0;
    virtual void CopyParams(double factor) = 0;
    virtual void SetbSpeech(int on) = 0;
    virtual void SameWordDist(float threshold) = 0;
    virtual void HMMParams(int adaptOnAccept, double convergence, double weight1, double weight2, double weight3) = 0;
    virtual void EPDParams(int minFrames, int maxFrames, int p3, int p4) = 0;
    virtual void Security(float margin) = 0;

    /** 1 when a segment was taken (error number 0, -4 or -5), 0 when the reading was rejected. */
    virtual int GetEndpointShort(int16_t* samples, int count, int trimEnd) = 0;
    virtual int64_t GetEndpointValue() = 0;
    virtual int GetShiftValue() = 0;
    virtual int GetErrorNumber() = 0;
    virtual std::string GetLabelString() = 0;
    virtual int CheckSexSpeech(int16_t* samples, int count, int index) = 0;
    virtual int Train() = 0;
    virtual int Verify() = 0;
    virtual int VCopy() = 0;
    virtual int GetbUpdate() = 0;
};

/** The engine library itself (libHalvoxEngine.so): every call goes straight to its SVE_ function. */
class HalvoxVoiceEngine final : public VoiceEngine
{
public:
    bool Initialize() override;
    void Destruct() override;
    void DestructMemories() override;
    void SetbNetVersion(int on) override;
    void PutDir(const std::string& folder) override;
    void PutID(const std::string& id) override;
    void PutPW(const std::string& text) override;
    void PutNick(const std::string& code) override;
    void PutMode(int mode) override;
    void PutMaxRepeat(int count) override;
    void AnalParams(int sampleRate, int maxDurationMs, int windowLength, int frameShift) override;
    void NoiseParams(int noiseMode, double noiseParam2, int noiseParam3) override;
    void EngineParams(int lpcOrder, int cepstralOrder, int hmmStates, int codebookSize) override;
    void CopyParams(double factor) override;
    void SetbSpeech(int on) override;
    void SameWordDist(float threshold) override;
    void HMMParams(int adaptOnAccept, double convergence, double weight1, double weight2, double weight3) override;
    void EPDParams(int minFrames, int maxFrames, int p3, int p4) override;
    void Security(float margin) override;
    int GetEndpointShort(int16_t* samples, int count, int trimEnd) override;
    int64_t GetEndpointValue() override;
    int GetShiftValue() override;
    int GetErrorNumber() override;
    std::string GetLabelString() override;
    int CheckSexSpeech(int16_t* samples, int count, int index) override;
    int Train() override;
    int Verify() override;
    int VCopy() override;
    int GetbUpdate() override;
};

} // namespace talk::voice
