#include "ReadingAnalysis.h"

#include "LpcCepstrumFrontEnd.h"
#include "PlpFrontEnd.h"
#include "SpeechSegmenter.h"
#include "WavFile.h"

namespace modelbuild {

namespace {
constexpr int kSampleRate = 11025;
constexpr int kSpeechCapacity = kCaptureSamples + 1;
} // namespace

bool AnalyseRecording(std::vector<int16_t> samples, bool trimEnd, ReadingFeatures* features)
{
    *features = ReadingFeatures {};
    std::vector<int16_t> speech(kSpeechCapacity);
    int speechCount = 0;
    halvox::SegmentRequest request;
    request.trimEnd = trimEnd;
    const halvox::SegmentResult segment = halvox::SegmentSpeech(
        samples.data(), static_cast<int>(samples.size()), request, speech.data(), kSpeechCapacity, &speechCount);
    features->endpointError = segment.error;
    if (!segment.taken)
        return false;
    const halvox::LpcCepstrumFrontEnd frontEnd(halvox::LpcCepstrumParams {});
    const int frames = segment.endFrame - segment.startFrame;
    if (frames < 2)
        return false;
    features->speaker.assign(static_cast<std::size_t>(frames) * kSpeakerDim, 0.0f);
    const int written = frontEnd.Compute(samples.data(), static_cast<int>(samples.size()), segment.startFrame,
        segment.endFrame, features->speaker.data(), frames);
    features->speaker.resize(static_cast<std::size_t>(written) * kSpeakerDim);
    features->plp = halvox::ComputePlpFeatures(speech.data(), speechCount);
    return written >= 2;
}

bool AnalyseWavFile(const std::string& path, bool trimEnd, ReadingFeatures* features, std::string& error)
{
    platform::audio::WavAudio audio;
    if (!platform::audio::ReadWav(path, &audio, error)
        || !platform::audio::CheckEngineFormat(audio, kSampleRate, error)) {
        error = path + ": " + error;
        return false;
    }
    if (!AnalyseRecording(std::move(audio.samples), trimEnd, features)) {
        error = path + ": not taken by the endpoint detection (error " + std::to_string(features->endpointError) + ")";
        return false;
    }
    return true;
}

} // namespace modelbuild
