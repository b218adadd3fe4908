#include "EngineFolderFixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "DiscreteHmm.h"
#include "LpcCepstrumFrontEnd.h"
#include "ModelFiles.h"
#include "PlpFrontEnd.h"
#include "SpeechSegmenter.h"
#include "SyntheticVoice.h"
#include "VectorQuantizer.h"

namespace warden::test {

const char* const kWordCodes[6] = {"aaj", "abj", "acj", "adj", "aej", "afj"};

namespace {

constexpr int kDim = 20;
constexpr int kStates = 5;
constexpr int kCaptureSamples = 33075;
constexpr int kSpeechCapacity = 33076;

// The analysed form of one reading: speaker features and word-recogniser features.
struct Analysis
{
    std::vector<float> lpc; // frames x kDim
    std::vector<float> plp; // frames x 26
};

bool Analyse(std::vector<int16_t> samples, Analysis* out)
{
    std::vector<int16_t> speech(kSpeechCapacity);
    int speechCount = 0;
    halvox::SegmentRequest request;
    const halvox::SegmentResult r = halvox::SegmentSpeech(
        samples.data(), static_cast<int>(samples.size()), request, speech.data(), kSpeechCapacity, &speechCount);
    if (!r.taken)
        return false;
    halvox::LpcCepstrumFrontEnd frontEnd(halvox::LpcCepstrumParams {});
    const int frames = r.endFrame - r.startFrame;
    out->lpc.assign(static_cast<size_t>(frames) * kDim, 0.0f);
    const int written = frontEnd.Compute(
        samples.data(), static_cast<int>(samples.size()), r.startFrame, r.endFrame, out->lpc.data(), frames);
    out->lpc.resize(static_cast<size_t>(written) * kDim);
    out->plp = halvox::ComputePlpFeatures(speech.data(), speechCount);
    return written > 1;
}

double SquaredDistance(const float* a, const float* b, int dim)
{
    double sum = 0.0;
    for (int d = 0; d < dim; ++d)
        sum += (a[d] - b[d]) * static_cast<double>(a[d] - b[d]);
    return sum;
}

// A plain k-means codebook for the fixture: evenly spread frames as the start, a few Lloyd passes,
// and as weight the mean squared distance of each codeword's members (1 for an empty one).
void BuildCodebook(
    const std::vector<float>& frames, int dim, int size, std::vector<float>* codewords, std::vector<float>* weights)
{
    const int count = static_cast<int>(frames.size() / dim);
    codewords->assign(static_cast<size_t>(size) * dim, 0.0f);
    for (int j = 0; j < size; ++j) {
        const int pick = static_cast<int>((static_cast<long long>(j) * count) / size);
        std::copy_n(
            frames.begin() + static_cast<long>(pick) * dim, dim, codewords->begin() + static_cast<long>(j) * dim);
    }
    std::vector<int> owner(count, 0);
    for (int pass = 0; pass < 8; ++pass) {
        for (int t = 0; t < count; ++t) {
            double best = 1e300;
            for (int j = 0; j < size; ++j) {
                double d = SquaredDistance(
                    &frames[static_cast<size_t>(t) * dim], &(*codewords)[static_cast<size_t>(j) * dim], dim);
                if (d < best) {
                    best = d;
                    owner[t] = j;
                }
            }
        }
        std::vector<double> sums(static_cast<size_t>(size) * dim, 0.0);
        std::vector<int> members(size, 0);
        for (int t = 0; t < count; ++t) {
            ++members[owner[t]];
            for (int d = 0; d < dim; ++d)
                sums[static_cast<size_t>(owner[t]) * dim + d] += frames[static_cast<size_t>(t) * dim + d];
        }
        for (int j = 0; j < size; ++j)
            if (members[j] > 0)
                for (int d = 0; d < dim; ++d)
                    (*codewords)[static_cast<size_t>(j) * dim + d]
                        = static_cast<float>(sums[static_cast<size_t>(j) * dim + d] / members[j]);
    }
    std::vector<double> distance(size, 0.0);
    std::vector<int> members(size, 0);
    for (int t = 0; t < count; ++t) {
        ++members[owner[t]];
        distance[owner[t]] += SquaredDistance(
            &frames[static_cast<size_t>(t) * dim], &(*codewords)[static_cast<size_t>(owner[t]) * dim], dim);
    }
    weights->assign(size, 1.0f);
    for (int j = 0; j < size; ++j)
        if (members[j] > 0 && distance[j] > 0.0)
            (*weights)[j] = static_cast<float>(distance[j] / members[j]);
}

// Trains a left-to-right HMM over the quantised sequences and exports it.
bool TrainHmm(const std::vector<std::vector<float>>& sequences, int dim, const std::vector<float>& codewords,
    const std::vector<float>& weights, int size, halvox::DimensionWeightKind kind, std::vector<float>* pi,
    std::vector<float>* a, std::vector<float>* b)
{
    halvox::DiscreteHmm hmm(kStates, size);
    for (const auto& frames : sequences) {
        const int count = static_cast<int>(frames.size() / dim);
        halvox::VectorQuantizer quantizer(dim);
        quantizer.UseDimensionWeights(kind);
        if (!quantizer.LoadFrames(frames.data(), count)
            || !quantizer.LoadCodebook(codewords.data(), weights.data(), size))
            return false;
        std::vector<int> symbols(count);
        std::vector<float> confidences(count);
        if (!quantizer.Quantize(symbols.data(), confidences.data()))
            return false;
        if (!hmm.AddTrainingSequence(symbols.data(), confidences.data(), count))
            return false;
    }
    hmm.InitialiseRandom();
    if (hmm.Train(0.0005) < 0)
        return false;
    pi->resize(kStates);
    a->resize(kStates * kStates);
    b->resize(static_cast<size_t>(kStates) * size);
    hmm.Export(pi->data(), a->data(), b->data());
    return true;
}

std::vector<float> Concatenate(const std::vector<std::vector<float>>& parts)
{
    std::vector<float> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

bool WriteCodebookFile(const std::string& path, const std::vector<std::vector<float>>& sequences, bool withMean,
    int size, std::string& error)
{
    const std::vector<float> all = Concatenate(sequences);
    halvox::CodebookModel model;
    model.dim = kDim;
    model.codebookSize = size;
    model.states = kStates;
    model.symbols = size;
    if (withMean) {
        const size_t count = all.size() / kDim;
        model.mean.assign(kDim, 0.0f);
        for (int d = 0; d < kDim; ++d) {
            double sum = 0.0;
            for (size_t t = 0; t < count; ++t)
                sum += all[t * kDim + d];
            model.mean[d] = static_cast<float>(sum / static_cast<double>(count));
        }
    }
    BuildCodebook(all, kDim, size, &model.codewords, &model.weights);
    if (!TrainHmm(sequences, kDim, model.codewords, model.weights, size, halvox::DimensionWeightKind::Default,
            &model.pi, &model.a, &model.b)) {
        error = "cannot train the model of " + path;
        return false;
    }
    if (halvox::WriteCodebookModel(path, model) != halvox::ModelFileError::None) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool WriteVocabularyFile(
    const std::string& path, const std::vector<std::vector<std::vector<float>>>& perWord, int size, std::string& error)
{
    halvox::VocabularyModel model;
    model.dim = halvox::kPlpVectorSize;
    model.codebookSize = size;
    model.states = kStates;
    std::vector<float> all;
    for (const auto& word : perWord)
        for (const auto& seq : word)
            all.insert(all.end(), seq.begin(), seq.end());
    BuildCodebook(all, model.dim, size, &model.codewords, &model.weights);
    for (size_t w = 0; w < perWord.size(); ++w) {
        halvox::VocabularyWord word;
        if (!TrainHmm(perWord[w], model.dim, model.codewords, model.weights, size, halvox::DimensionWeightKind::Unit,
                &word.pi, &word.a, &word.b)) {
            error = "cannot train the vocabulary word " + std::to_string(w);
            return false;
        }
        model.words.push_back(std::move(word));
        model.labels.push_back(kWordCodes[w]);
    }
    if (halvox::WriteVocabularyModel(path, model) != halvox::ModelFileError::None) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace

std::vector<int16_t> TestReading(int voice, int word, int take)
{
    Reading reading;
    reading.seed = static_cast<uint32_t>(voice * 1000 + word * 37 + take * 7 + 1);
    reading.offsetSeconds = 0.55 + 0.09 * (take % 5);
    reading.durationSeconds = 0.75 + 0.03 * ((take * 3) % 5) + 0.02 * word;
    reading.rateJitter = 0.04 * ((take % 3) - 1);
    reading.peak = 5200.0 + 450.0 * (take % 4);
    reading.noiseLevel = 5.0 + (take % 3);
    return Speak(TestVoice(voice), TestWord(word), reading);
}

bool BuildEngineFolder(const std::string& folder, const FixtureOptions& options, std::string& error)
{
    namespace fs = std::filesystem;
    const fs::path root(folder);
    const fs::path wordFolder = root / ("word" + std::to_string(options.codebookSize));
    std::error_code ec;
    for (const fs::path& p : {wordFolder, root / "iwrec", root / "user", root / "work"})
        fs::create_directories(p, ec);
    if (ec) {
        error = "cannot create the folders below " + folder;
        return false;
    }
    for (const bool male : {true, false}) {
        const std::vector<int>& voices = male ? options.maleVoices : options.femaleVoices;
        std::vector<std::vector<std::vector<float>>> plpPerWord(6);
        for (int w = 0; w < 6; ++w) {
            std::vector<std::vector<float>> live, replayed;
            for (int voice : voices) {
                for (int take = 0; take < options.takesPerVoice; ++take) {
                    std::vector<int16_t> reading = TestReading(voice, w, take);
                    Analysis a, r;
                    if (!Analyse(reading, &a) || !Analyse(Replay(reading, static_cast<uint32_t>(take)), &r)) {
                        error = "a fixture reading was not detected (voice " + std::to_string(voice) + ", word "
                            + std::to_string(w) + ", take " + std::to_string(take) + ")";
                        return false;
                    }
                    live.push_back(std::move(a.lpc));
                    replayed.push_back(std::move(r.lpc));
                    plpPerWord[w].push_back(std::move(a.plp));
                }
            }
            const std::string stem = (wordFolder / kWordCodes[w]).string() + (male ? "_m" : "_f");
            if (!WriteCodebookFile(stem + ".bin", live, true, options.codebookSize, error)
                || !WriteCodebookFile(stem + "copy.bin", replayed, false, options.codebookSize, error))
                return false;
        }
        const fs::path vocabulary = root / "iwrec" / (male ? "miwr.bin" : "fiwr.bin");
        if (!WriteVocabularyFile(vocabulary.string(), plpPerWord, options.vocabularyCodebookSize, error))
            return false;
    }
    return true;
}

namespace {

// Where built fixtures are kept between test processes: the test build folder when there is one.
std::filesystem::path FixtureCacheFolder()
{
#ifdef ENGINE_TEST_BINARY_DIR
    return std::filesystem::path(ENGINE_TEST_BINARY_DIR) / "fixture-cache";
#else
    return std::filesystem::temp_directory_path() / "halvox-fixture-cache";
#endif
}

std::string CacheName(const FixtureOptions& o)
{
    // Bump the leading tag whenever the synthetic speech or the model building changes.
    std::string name = "v1-k" + std::to_string(o.codebookSize) + "-v" + std::to_string(o.vocabularyCodebookSize) + "-t"
        + std::to_string(o.takesPerVoice) + "-m";
    for (int v : o.maleVoices)
        name += std::to_string(v) + ".";
    name += "f";
    for (int v : o.femaleVoices)
        name += std::to_string(v) + ".";
    return name;
}

// Holds an exclusive lock on a file for its lifetime.
class FileLock
{
public:
    explicit FileLock(const std::filesystem::path& path)
        : m_fd(open(path.c_str(), O_CREAT | O_RDWR, 0644))
    {
        if (m_fd >= 0)
            flock(m_fd, LOCK_EX);
    }
    ~FileLock()
    {
        if (m_fd >= 0)
            close(m_fd); // closing releases the lock
    }
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd;
};

bool EnsureCachedFolder(const FixtureOptions& options, std::filesystem::path* cached, std::string& error)
{
    namespace fs = std::filesystem;
    const fs::path base = FixtureCacheFolder();
    std::error_code ec;
    fs::create_directories(base, ec);
    const std::string name = CacheName(options);
    *cached = base / name;
    const fs::path complete = *cached / ".complete";
    FileLock lock(base / (name + ".lock"));
    if (!lock.Held()) {
        error = "cannot lock the fixture cache in " + base.string();
        return false;
    }
    if (fs::exists(complete))
        return true;
    const fs::path partial = base / (name + ".partial-" + std::to_string(getpid()));
    fs::remove_all(partial, ec);
    fs::remove_all(*cached, ec);
    if (!BuildEngineFolder(partial.string(), options, error))
        return false;
    if (FILE* marker = std::fopen((partial / ".complete").c_str(), "w"))
        std::fclose(marker);
    fs::rename(partial, *cached, ec);
    if (ec) {
        error = "cannot move the built fixture into place: " + ec.message();
        return false;
    }
    return true;
}

} // namespace

ScratchEngineFolder::ScratchEngineFolder(const FixtureOptions& options)
{
    namespace fs = std::filesystem;
    fs::path cached;
    if (!EnsureCachedFolder(options, &cached, m_error))
        return;
    std::string pattern = (fs::temp_directory_path() / "halvox-engine-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        m_error = "cannot make a temporary folder";
        return;
    }
    m_path = pattern;
    std::error_code ec;
    fs::copy(cached, m_path, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec) {
        m_error = "cannot copy the fixture: " + ec.message();
        return;
    }
    fs::remove(fs::path(m_path) / ".complete", ec);
    m_ready = true;
}

ScratchEngineFolder::~ScratchEngineFolder()
{
    std::error_code ignored;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, ignored);
}

} // namespace warden::test
