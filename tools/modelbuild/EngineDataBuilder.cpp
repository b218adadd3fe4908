#include "EngineDataBuilder.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "CorpusManifest.h"
#include "ModelFiles.h"
#include "ModelRecipes.h"
#include "ReadingAnalysis.h"

namespace modelbuild {

namespace {

namespace fs = std::filesystem;

// Runs task(0 ... count - 1) on up to `threads` threads. Each task writes only its own result slot, so the
// outcome does not depend on the scheduling.
void RunInParallel(int count, int threads, const std::function<void(int)>& task)
{
    std::atomic<int> next {0};
    const auto worker = [&] {
        for (int i = next++; i < count; i = next++)
            task(i);
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < std::max(1, threads); ++t)
        pool.emplace_back(worker);
    worker();
    for (auto& thread : pool)
        thread.join();
}

std::vector<CorpusReading> TrainingReadings(
    const std::vector<CorpusReading>& all, int voicesPerGender, const std::vector<std::string>& excluded)
{
    std::map<bool, std::set<std::string>> voices;
    for (const auto& r : all)
        if (!r.evaluation && !InAnyFamily(r, excluded))
            voices[r.male].insert(r.voice);
    std::set<std::string> chosen;
    for (auto& [male, names] : voices) {
        int taken = 0;
        for (const auto& name : names)
            if (voicesPerGender == 0 || taken++ < voicesPerGender)
                chosen.insert(name);
    }
    std::vector<CorpusReading> result;
    for (const auto& r : all)
        if (!r.evaluation && chosen.count(r.voice) != 0 && !InAnyFamily(r, excluded))
            result.push_back(r);
    return result;
}

// One output file: which readings feed it and how it is made.
struct ModelJob
{
    enum class Kind
    {
        Background,
        Recording,
        Vocabulary
    } kind
        = Kind::Background;
    bool male = true;
    int word = 0; // index into the vocabulary (not used for Vocabulary)
    fs::path path;
    fs::path background; // Recording: the background model of the same word and gender, built first
};

std::vector<ModelJob> PlanJobs(const BuildOptions& options, const std::vector<VocabularyEntry>& words)
{
    const fs::path root(options.outputFolder);
    const fs::path wordFolder = root / ("word" + std::to_string(options.codebookSize));
    std::vector<ModelJob> jobs;
    for (const bool male : {true, false}) {
        for (int w = 0; w < static_cast<int>(words.size()); ++w) {
            const std::string stem = words[static_cast<std::size_t>(w)].code + (male ? "_m" : "_f");
            const fs::path background = wordFolder / (stem + ".bin");
            jobs.push_back({ModelJob::Kind::Background, male, w, background, {}});
            jobs.push_back({ModelJob::Kind::Recording, male, w, wordFolder / (stem + "copy.bin"), background});
        }
        jobs.push_back({ModelJob::Kind::Vocabulary, male, 0, root / "iwrec" / (male ? "miwr.bin" : "fiwr.bin"), {}});
    }
    return jobs;
}

struct AnalysedCorpus
{
    std::vector<CorpusReading> readings;
    std::vector<ReadingFeatures> features;
    std::vector<bool> usable;
};

// What became of one model: written or not, with the reason of a failure or what a codebook model was built
// from.
struct JobOutcome
{
    bool written = false;
    std::string note;
};

JobOutcome RunJob(const ModelJob& job, const BuildOptions& options, const std::vector<VocabularyEntry>& words,
    const AnalysedCorpus& corpus)
{
    JobOutcome outcome;
    const auto selected = [&](std::size_t i, int word, bool replayed) {
        const CorpusReading& r = corpus.readings[i];
        return corpus.usable[i] && r.male == job.male && r.replayed == replayed
            && r.word == words[static_cast<std::size_t>(word)].code;
    };
    if (job.kind == ModelJob::Kind::Vocabulary) {
        std::vector<Sequences> perWord(words.size());
        std::vector<std::string> labels;
        for (std::size_t w = 0; w < words.size(); ++w) {
            labels.push_back(words[w].display);
            for (std::size_t i = 0; i < corpus.readings.size(); ++i)
                if (selected(i, static_cast<int>(w), false))
                    perWord[w].push_back(corpus.features[i].plp);
        }
        halvox::VocabularyModel model;
        outcome.written = BuildVocabularyModel(perWord, labels, options.vocabularyCodebookSize, &model, outcome.note)
            && halvox::WriteVocabularyModel(job.path.string(), model) == halvox::ModelFileError::None;
        return outcome;
    }
    const bool replayed = job.kind == ModelJob::Kind::Recording;
    Sequences sequences;
    for (std::size_t i = 0; i < corpus.readings.size(); ++i)
        if (selected(i, job.word, replayed))
            sequences.push_back(corpus.features[i].speaker);
    halvox::CodebookModel model;
    if (replayed) {
        halvox::CodebookModel background;
        const int size = options.codebookSize;
        if (halvox::ReadCodebookModel(job.background.string(), true, kSpeakerDim, size, kHmmStates, size, &background)
            != halvox::ModelFileError::None) {
            outcome.note = "cannot read its background model " + job.background.string();
            return outcome;
        }
        if (!BuildRecordingModel(sequences, background, &model, outcome.note))
            return outcome;
    } else if (!BuildBackgroundModel(sequences, options.codebookSize, &model, outcome.note)) {
        return outcome;
    }
    outcome.note = std::to_string(sequences.size()) + " readings";
    outcome.written = halvox::WriteCodebookModel(job.path.string(), model) == halvox::ModelFileError::None;
    return outcome;
}

bool AnalyseCorpus(
    const BuildOptions& options, const std::vector<VocabularyEntry>& words, AnalysedCorpus* corpus, std::string& error)
{
    std::vector<CorpusReading> all;
    if (!ReadCorpusManifest((fs::path(options.corpusFolder) / "manifest.tsv").string(), &all, error))
        return false;
    const std::vector<std::string> excluded = FamilyNames(options.excludeFamily);
    for (const std::string& family : excluded)
        if (std::none_of(all.begin(), all.end(), [&](const CorpusReading& r) { return InAnyFamily(r, {family}); })) {
            // A misspelt family would silently give the full models and a held-out figure that is not one.
            error = "the corpus has no reading of family " + family;
            return false;
        }
    corpus->readings = TrainingReadings(all, options.voicesPerGender, excluded);
    std::map<std::string, bool> trimByCode;
    for (const auto& w : words)
        trimByCode[w.code] = w.trimEnd;
    const int count = static_cast<int>(corpus->readings.size());
    corpus->features.assign(static_cast<std::size_t>(count), ReadingFeatures {});
    std::vector<char> usable(static_cast<std::size_t>(count), 0);
    std::vector<std::string> problems(static_cast<std::size_t>(count));
    RunInParallel(count, options.threads, [&](int i) {
        const CorpusReading& r = corpus->readings[static_cast<std::size_t>(i)];
        const fs::path path = fs::path(options.corpusFolder) / r.file;
        usable[static_cast<std::size_t>(i)] = AnalyseWavFile(path.string(), trimByCode[r.word],
            &corpus->features[static_cast<std::size_t>(i)], problems[static_cast<std::size_t>(i)]);
    });
    corpus->usable.assign(usable.begin(), usable.end());
    int rejected = 0;
    for (int i = 0; i < count; ++i)
        if (!usable[static_cast<std::size_t>(i)]) {
            if (rejected++ < 10)
                std::printf("left out: %s\n", problems[static_cast<std::size_t>(i)].c_str());
        }
    std::printf("training readings: %d, taken by the endpoint detection: %d%s\n", count, count - rejected,
        options.excludeFamily.empty() ? "" : (" (without family " + options.excludeFamily + ")").c_str());
    if (count == rejected) {
        error = "the corpus holds no usable training reading";
        return false;
    }
    return true;
}

} // namespace

bool BuildEngineData(const BuildOptions& options, std::string& error)
{
    std::vector<VocabularyEntry> words;
    if (!ReadVocabularyList(options.vocabularyFile, &words, error))
        return false;
    AnalysedCorpus corpus;
    if (!AnalyseCorpus(options, words, &corpus, error))
        return false;
    const std::vector<ModelJob> jobs = PlanJobs(options, words);
    std::error_code ec;
    for (const auto& job : jobs)
        fs::create_directories(job.path.parent_path(), ec);
    std::vector<JobOutcome> outcomes(jobs.size());
    // Recording models are drawn against the background models, so those are written first.
    for (const bool recordingPhase : {false, true}) {
        std::vector<std::size_t> phase;
        for (std::size_t j = 0; j < jobs.size(); ++j)
            if ((jobs[j].kind == ModelJob::Kind::Recording) == recordingPhase)
                phase.push_back(j);
        RunInParallel(static_cast<int>(phase.size()), options.threads, [&](int i) {
            const std::size_t j = phase[static_cast<std::size_t>(i)];
            outcomes[j] = RunJob(jobs[j], options, words, corpus);
        });
    }
    bool allWritten = true;
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        const JobOutcome& outcome = outcomes[j];
        std::printf(
            "%s %s: %s\n", outcome.written ? "wrote" : "FAILED", jobs[j].path.string().c_str(), outcome.note.c_str());
        allWritten = allWritten && outcome.written;
    }
    if (!allWritten)
        error = "some models could not be built";
    return allWritten;
}

} // namespace modelbuild
