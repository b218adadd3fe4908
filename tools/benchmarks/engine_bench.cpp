// Speed of the engine's per-reading work: what one reading costs between the end of the recording
// and the decision.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "DiscreteHmm.h"
#include "LpcCepstrumFrontEnd.h"
#include "SpeechSegmenter.h"
#include "VectorQuantizer.h"
#include "WavFile.h"

namespace {

constexpr int kFrames = 258; // the longest word the default limits let through, widened
constexpr int kDim = 20;

std::vector<int16_t> LoadSample()
{
    platform::audio::WavAudio audio;
    std::string error;
    if (!platform::audio::ReadWav(WARDEN_SAMPLE_WAV, &audio, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(2);
    }
    return audio.samples;
}

void ReadingPath(benchmark::State& state)
{
    const std::vector<int16_t> original = LoadSample();
    std::vector<int16_t> speech(33076);
    halvox::LpcCepstrumFrontEnd frontEnd(halvox::LpcCepstrumParams {});
    std::vector<float> features(414 * kDim);
    for (auto _ : state) {
        std::vector<int16_t> samples = original;
        int speechCount = 0;
        halvox::SegmentRequest request;
        request.trimEnd = true;
        const halvox::SegmentResult r = halvox::SegmentSpeech(
            samples.data(), static_cast<int>(samples.size()), request, speech.data(), 33076, &speechCount);
        int written = frontEnd.Compute(
            samples.data(), static_cast<int>(samples.size()), r.startFrame, r.endFrame, features.data(), 414);
        benchmark::DoNotOptimize(written);
    }
}
BENCHMARK(ReadingPath)->Unit(benchmark::kMicrosecond);

struct ScoringData
{
    std::vector<float> frames, codewords, weights, pi, a, b;
};

ScoringData MakeScoringData(int codebookSize)
{
    std::mt19937 random(7);
    std::normal_distribution<float> normal(0.0f, 1.0f);
    ScoringData d;
    d.frames.resize(kFrames * kDim);
    for (float& v : d.frames)
        v = normal(random);
    d.codewords.resize(static_cast<size_t>(codebookSize) * kDim);
    for (float& v : d.codewords)
        v = normal(random);
    d.weights.assign(codebookSize, 0.5f);
    const int states = 5;
    d.pi = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    d.a.assign(states * states, 1e-6f);
    for (int i = 0; i < states; ++i) {
        d.a[i * states + i] = 0.6f;
        if (i + 1 < states)
            d.a[i * states + i + 1] = 0.4f;
    }
    d.b.assign(static_cast<size_t>(states) * codebookSize, 1.0f / codebookSize);
    return d;
}

void Quantisation(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    ScoringData d = MakeScoringData(size);
    halvox::VectorQuantizer quantizer(kDim);
    if (!quantizer.LoadFrames(d.frames.data(), kFrames)
        || !quantizer.LoadCodebook(d.codewords.data(), d.weights.data(), size)) {
        state.SkipWithError("quantiser refused the data");
        return;
    }
    std::vector<int> symbols(kFrames);
    std::vector<float> confidences(kFrames);
    for (auto _ : state) {
        benchmark::DoNotOptimize(quantizer.Quantize(symbols.data(), confidences.data()));
    }
}
BENCHMARK(Quantisation)->Arg(128)->Arg(256)->Unit(benchmark::kMicrosecond);

void ViterbiScoring(benchmark::State& state)
{
    const int size = 256;
    ScoringData d = MakeScoringData(size);
    std::vector<int> symbols(kFrames);
    for (int t = 0; t < kFrames; ++t)
        symbols[t] = (t * 37) % size;
    for (auto _ : state) {
        halvox::DiscreteHmm hmm(5, size);
        if (!hmm.LoadStoredModel(d.pi.data(), d.a.data(), d.b.data(), size, halvox::SymbolSide::All)) {
            state.SkipWithError("model refused");
            return;
        }
        benchmark::DoNotOptimize(hmm.Score(symbols.data(), kFrames));
    }
}
BENCHMARK(ViterbiScoring)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
