// halvox eval: measures how well the engine with its shipped models tells speakers apart, over the evaluation
// part of a voice corpus (tools/corpus/make_corpus.py), with the voice dialog's parameters. Writes every trial,
// the DET curves and a summary into an output folder. With --hold-out FAMILY it first builds the models without
// that voice family or loudspeaker kind and measures them on it alone.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "Commands.h"
#include "CorpusManifest.h"
#include "EngineDataBuilder.h"
#include "EngineDataInstall.h"
#include "EngineLog.h"
#include "EvalEngine.h"
#include "EvalStatistics.h"
#include "HoldOut.h"
#include "ToolSupport.h"

namespace halvox::tool {

namespace {

namespace fs = std::filesystem;

constexpr int kEnrolRepeat = 5;
constexpr float kDialogMargin = 0.3f;
constexpr int kSessionLength = 5; // the dialog's verify attempts
constexpr int kUpdateSessions = 10;
constexpr int kHeldOutProbes = 4; // genuine readings kept out of the update sessions

struct EvalOptions
{
    std::string corpus;
    std::string engineData;
    std::string vocabulary = "data/vocabulary.tsv";
    std::string work;
    std::string out;
    int threads = 2;
    bool skipUpdate = false;
    std::string holdOut; // a family to build the models without and to measure on
};

struct SpeakerReadings
{
    std::string voice;
    bool male = true;
    bool target = true; // enrolled and verified as a model, not only an impostor
    std::vector<std::string> live; // files in take order
    std::vector<std::string> liveMics; // microphone kind of each live reading
    std::vector<std::string> replayed;
    std::vector<std::string> replayChains; // loudspeaker kind of each replayed reading
};

struct Trial
{
    std::string model;
    std::string probe;
    std::string word;
    int take = 0;
    bool genuine = false;
    bool sameGender = false;
    bool sameFamily = false; // an impostor from the same variant family (see VoiceFamily)
    bool replayed = false;
    bool live = false; // the live check's verdict on the probe
    double liveRatio = 0.0;
    std::string kind; // microphone kind of a live probe, loudspeaker kind of a replay
    VerifyOutcome outcome;
};

struct UpdateCheckpoint
{
    int sessions = 0;
    double genuineScore = 0.0; // mean over held-out genuine probes
    int genuineAccepted = 0;
    int genuineTrials = 0;
    int impostorAccepted = 0;
    int impostorTrials = 0;
};

struct WordResult
{
    std::vector<Trial> trials;
    int enrolled = 0;
    int enrolFailures = 0;
    int enrolReadingsUsed = 0;
    int probes = 0;
    int probesTaken = 0;
    int wordsRecognised = 0; // live verification readings the vocabulary file recognises as their word
    std::vector<std::vector<bool>> genuineSeries; // accepted flags per speaker, in take order
    std::vector<std::vector<bool>> impostorSeries; // per (model, impostor speaker)
    std::map<int, UpdateCheckpoint> update; // by number of sessions run
    int updateSessionsAccepted = 0;
    int updateSessionsRun = 0;
    int modelsRewritten = 0;
    std::vector<std::string> notes;
};

// The eval options; false with a one-line reason in `error` when they are malformed or incomplete.
bool ParseEvalOptions(const Arguments& args, EvalOptions* options, std::string& error)
{
    bool parsed = tools::ArgumentParser()
                      .Text("corpus", &options->corpus)
                      .Text("engine-data", &options->engineData)
                      .Text("vocabulary", &options->vocabulary)
                      .Text("work", &options->work)
                      .Text("out", &options->out)
                      .Integer("threads", 1, std::numeric_limits<int>::max(), &options->threads)
                      .Switch("no-update", &options->skipUpdate)
                      .Text("hold-out", &options->holdOut)
                      .Parse(args, error);
    if (!parsed)
        return false;
    // Work is shared out one word at a time, so threads beyond the few words only idle.
    options->threads = std::min(options->threads, 16);
    // Held out, the models are built here unless given; the update experiment answers another question.
    if (!options->holdOut.empty())
        options->skipUpdate = true;
    if (options->corpus.empty() || (options->engineData.empty() && options->holdOut.empty()) || options->work.empty()
        || options->out.empty()) {
        error = "eval needs --corpus DIR --engine-data DIR --work DIR --out DIR [--vocabulary FILE] [--threads N] "
                "[--no-update], or --hold-out FAMILY instead of (or with) --engine-data";
        return false;
    }
    return true;
}

std::map<std::string, std::vector<SpeakerReadings>> GroupEvaluationReadings(
    const std::vector<modelbuild::CorpusReading>& manifest, const std::string& corpus,
    const std::set<std::string>& targets)
{
    std::map<std::string, std::map<std::string, SpeakerReadings>> byWord;
    std::vector<modelbuild::CorpusReading> sorted;
    for (const auto& r : manifest)
        if (r.evaluation)
            sorted.push_back(r);
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.take < b.take; });
    for (const auto& r : sorted) {
        SpeakerReadings& s = byWord[r.word][r.voice];
        s.voice = r.voice;
        s.male = r.male;
        s.target = targets.empty() || targets.count(r.voice) != 0;
        (r.replayed ? s.replayed : s.live).push_back((fs::path(corpus) / r.file).string());
        (r.replayed ? s.replayChains : s.liveMics).push_back(r.replayed ? r.chain : r.mic);
    }
    std::map<std::string, std::vector<SpeakerReadings>> result;
    for (auto& [word, speakers] : byWord)
        for (auto& [voice, readings] : speakers)
            result[word].push_back(std::move(readings));
    return result;
}

std::vector<int16_t> LoadOrEmpty(const std::string& path)
{
    std::vector<int16_t> samples;
    if (!LoadRecording(path, &samples))
        samples.clear();
    return samples;
}

struct EnrolledSpeaker
{
    const SpeakerReadings* readings = nullptr;
    int firstTest = 0; // live readings from here on are verification probes
    std::vector<AnalysedProbe> liveProbes;
    std::vector<std::string> liveKinds; // parallel to liveProbes
    std::vector<AnalysedProbe> replayProbes;
    std::vector<std::string> replayKinds; // parallel to replayProbes
};

std::string AdaptedUser(const std::string& voice)
{
    return voice + "-adapt";
}

// Variants that differ only by a number ("steph", "steph2", "steph3") are one voice retouched, not different
// speakers: the corpus tool names them <engine>_<language>_<variant>, and the family drops the language and
// the trailing digits.
std::string VoiceFamily(const std::string& voice)
{
    const std::size_t first = voice.find('_');
    const std::size_t last = voice.rfind('_');
    std::string family = voice.substr(0, first) + voice.substr(last);
    while (!family.empty() && std::isdigit(static_cast<unsigned char>(family.back())))
        family.pop_back();
    return family;
}

Trial MakeTrial(const EnrolledSpeaker& model, const EnrolledSpeaker& speaker, const AnalysedProbe& probe,
    const std::string& code, int take, bool replayed)
{
    Trial t;
    t.model = model.readings->voice;
    t.probe = speaker.readings->voice;
    t.word = code;
    t.take = take;
    t.genuine = &model == &speaker;
    t.sameGender = model.readings->male == speaker.readings->male;
    t.sameFamily = !t.genuine && VoiceFamily(t.model) == VoiceFamily(t.probe);
    t.replayed = replayed;
    t.live = probe.live;
    t.liveRatio = probe.liveRatio;
    const auto& kinds = replayed ? speaker.replayKinds : speaker.liveKinds;
    t.kind = static_cast<std::size_t>(take) < kinds.size() ? kinds[static_cast<std::size_t>(take)] : "";
    return t;
}

UpdateCheckpoint MeasureCheckpoint(EvalEngine& engine, const std::string& code, const EnrolledSpeaker& target,
    const std::vector<EnrolledSpeaker>& speakers, int sessions)
{
    UpdateCheckpoint point;
    point.sessions = sessions;
    const std::string user = AdaptedUser(target.readings->voice);
    const int n = static_cast<int>(target.liveProbes.size());
    for (int k = std::max(0, n - kHeldOutProbes); k < n; ++k) {
        const VerifyOutcome o = engine.Verify(target.liveProbes[static_cast<std::size_t>(k)], user, code, false);
        if (!o.decided)
            continue;
        ++point.genuineTrials;
        point.genuineAccepted += o.accepted ? 1 : 0;
        point.genuineScore += o.Score();
    }
    if (point.genuineTrials > 0)
        point.genuineScore /= point.genuineTrials;
    for (const auto& other : speakers) {
        if (&other == &target || other.liveProbes.empty()
            || VoiceFamily(other.readings->voice) == VoiceFamily(target.readings->voice))
            continue;
        const VerifyOutcome o = engine.Verify(other.liveProbes.front(), user, code, false);
        if (!o.decided)
            continue;
        ++point.impostorTrials;
        point.impostorAccepted += o.accepted ? 1 : 0;
    }
    return point;
}

void Accumulate(UpdateCheckpoint* total, const UpdateCheckpoint& point)
{
    total->sessions = point.sessions;
    total->genuineScore += point.genuineScore * point.genuineTrials;
    total->genuineAccepted += point.genuineAccepted;
    total->genuineTrials += point.genuineTrials;
    total->impostorAccepted += point.impostorAccepted;
    total->impostorTrials += point.impostorTrials;
}

// Ten sessions in a row on a copy of the speaker's model, each taking readings until one is accepted (at most
// five), with the model update on; the held-out genuine probes and one reading of every other speaker are
// scored (without update) before, halfway and after.
void RunUpdateExperiment(EvalEngine& engine, const std::string& workFolder, const std::string& code,
    const EnrolledSpeaker& target, const std::vector<EnrolledSpeaker>& speakers, WordResult* result)
{
    const std::string voice = target.readings->voice;
    const fs::path from = fs::path(workFolder) / "user" / voice / (code + ".bin");
    const fs::path toFolder = fs::path(workFolder) / "user" / AdaptedUser(voice);
    std::error_code ec;
    fs::create_directories(toFolder, ec);
    fs::copy_file(from, toFolder / (code + ".bin"), fs::copy_options::overwrite_existing, ec);
    const int usable = static_cast<int>(target.liveProbes.size()) - kHeldOutProbes;
    if (ec || usable < 1)
        return;
    Accumulate(&result->update[0], MeasureCheckpoint(engine, code, target, speakers, 0));
    int next = 0;
    for (int session = 1; session <= kUpdateSessions; ++session) {
        bool accepted = false;
        for (int attempt = 0; attempt < kSessionLength && !accepted; ++attempt) {
            const AnalysedProbe& probe = target.liveProbes[static_cast<std::size_t>(next++ % usable)];
            const VerifyOutcome o = engine.Verify(probe, AdaptedUser(voice), code, true);
            accepted = o.accepted;
            result->modelsRewritten += o.updated ? 1 : 0;
        }
        ++result->updateSessionsRun;
        result->updateSessionsAccepted += accepted ? 1 : 0;
        if (session == kUpdateSessions / 2 || session == kUpdateSessions)
            Accumulate(&result->update[session], MeasureCheckpoint(engine, code, target, speakers, session));
    }
}

WordResult EvaluateWord(
    const EvalOptions& options, const modelbuild::VocabularyEntry& word, const std::vector<SpeakerReadings>& speakers)
{
    WordResult result;
    EvalEngine engine(options.work, kEnrolRepeat, kDialogMargin);
    std::vector<EnrolledSpeaker> enrolled;
    for (const auto& s : speakers) {
        std::vector<std::vector<int16_t>> readings;
        for (const auto& file : s.live)
            readings.push_back(LoadOrEmpty(file));
        std::string error;
        const std::optional<int> used = engine.Enrol(s.voice, word.code, word.display, word.trimEnd, readings, error);
        if (!used) {
            ++result.enrolFailures;
            result.notes.push_back(s.voice + " " + word.code + ": " + error);
            continue;
        }
        ++result.enrolled;
        result.enrolReadingsUsed += *used;
        EnrolledSpeaker e;
        e.readings = &s;
        e.firstTest = *used;
        for (std::size_t k = static_cast<std::size_t>(*used); k < readings.size(); ++k) {
            ++result.probes;
            AnalysedProbe probe = engine.Analyse(readings[k], word.code, word.trimEnd);
            if (probe.taken) {
                ++result.probesTaken;
                result.wordsRecognised += probe.wordRecognised ? 1 : 0;
                e.liveProbes.push_back(std::move(probe));
                e.liveKinds.push_back(k < s.liveMics.size() ? s.liveMics[k] : "");
            }
        }
        for (std::size_t k = 0; k < s.replayed.size(); ++k) {
            AnalysedProbe probe = engine.Analyse(LoadOrEmpty(s.replayed[k]), word.code, word.trimEnd);
            if (probe.taken) {
                e.replayProbes.push_back(std::move(probe));
                e.replayKinds.push_back(k < s.replayChains.size() ? s.replayChains[k] : "");
            }
        }
        enrolled.push_back(std::move(e));
    }
    for (const auto& model : enrolled) {
        if (!model.readings->target)
            continue;
        for (const auto& speaker : enrolled) {
            std::vector<bool> series;
            const bool genuine = &model == &speaker;
            for (std::size_t k = 0; k < speaker.liveProbes.size(); ++k) {
                Trial t = MakeTrial(model, speaker, speaker.liveProbes[k], word.code, static_cast<int>(k), false);
                t.outcome = engine.Verify(speaker.liveProbes[k], model.readings->voice, word.code, false);
                if (!t.outcome.decided)
                    continue;
                series.push_back(t.outcome.accepted);
                result.trials.push_back(std::move(t));
            }
            if (genuine)
                result.genuineSeries.push_back(std::move(series));
            else if (VoiceFamily(model.readings->voice) != VoiceFamily(speaker.readings->voice))
                result.impostorSeries.push_back(std::move(series));
        }
        for (std::size_t k = 0; k < model.replayProbes.size(); ++k) {
            Trial t = MakeTrial(model, model, model.replayProbes[k], word.code, static_cast<int>(k), true);
            t.outcome = engine.Verify(model.replayProbes[k], model.readings->voice, word.code, false);
            if (t.outcome.decided)
                result.trials.push_back(std::move(t));
        }
    }
    if (!options.skipUpdate)
        for (const auto& target : enrolled)
            if (target.readings->target)
                RunUpdateExperiment(engine, options.work, word.code, target, enrolled, &result);
    return result;
}

double Percent(long part, long whole)
{
    return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / whole;
}

void WriteTrials(const fs::path& path, const std::vector<WordResult>& results)
{
    FILE* f = std::fopen(path.string().c_str(), "w");
    if (f == nullptr)
        return;
    std::fprintf(f,
        "model\tprobe\tword\ttake\tgenuine\tsame_gender\tsame_family\treplayed\tjudged_live\tlive_"
        "ratio\tratio\tthreshold\tscore\taccepted\tkind\n");
    for (const auto& r : results)
        for (const auto& t : r.trials)
            std::fprintf(f, "%s\t%s\t%s\t%d\t%d\t%d\t%d\t%d\t%d\t%.6f\t%.6f\t%.6f\t%.6f\t%d\t%s\n", t.model.c_str(),
                t.probe.c_str(), t.word.c_str(), t.take, t.genuine, t.sameGender, t.sameFamily, t.replayed, t.live,
                t.liveRatio, t.outcome.ratio, t.outcome.threshold, t.outcome.Score(), t.outcome.accepted,
                t.kind.empty() ? "-" : t.kind.c_str());
    std::fclose(f);
}

void WriteDet(const fs::path& path, const std::vector<double>& genuine, const std::vector<double>& impostor)
{
    FILE* f = std::fopen(path.string().c_str(), "w");
    if (f == nullptr)
        return;
    std::fprintf(f, "threshold\tfalse_acceptance\tfalse_rejection\n");
    for (const ErrorRates& p : DetCurve(genuine, impostor))
        std::fprintf(f, "%.6f\t%.6f\t%.6f\n", p.threshold, p.falseAcceptance, p.falseRejection);
    std::fclose(f);
}

struct ScoreSets
{
    std::vector<double> genuine, impostor, impostorSameGender, impostorAllPairs;
    long genuineAccepted = 0, impostorAccepted = 0, sameGenderAccepted = 0, allPairsAccepted = 0;
    long liveProbes = 0, liveFlagged = 0, replayProbes = 0, replayFlagged = 0, replayAccepted = 0;
};

ScoreSets CollectScores(const std::vector<WordResult>& results)
{
    ScoreSets s;
    for (const auto& r : results)
        for (const auto& t : r.trials) {
            if (t.replayed) {
                ++s.replayProbes;
                s.replayFlagged += t.live ? 0 : 1;
                s.replayAccepted += t.outcome.accepted ? 1 : 0;
                continue;
            }
            if (t.genuine) {
                s.genuine.push_back(t.outcome.Score());
                s.genuineAccepted += t.outcome.accepted ? 1 : 0;
                ++s.liveProbes; // each live probe has exactly one genuine trial
                s.liveFlagged += t.live ? 0 : 1;
            } else {
                s.impostorAllPairs.push_back(t.outcome.Score());
                s.allPairsAccepted += t.outcome.accepted ? 1 : 0;
                if (t.sameFamily)
                    continue;
                s.impostor.push_back(t.outcome.Score());
                s.impostorAccepted += t.outcome.accepted ? 1 : 0;
                if (t.sameGender) {
                    s.impostorSameGender.push_back(t.outcome.Score());
                    s.sameGenderAccepted += t.outcome.accepted ? 1 : 0;
                }
            }
        }
    return s;
}

void PrintSummary(
    FILE* out, const std::vector<modelbuild::VocabularyEntry>& words, const std::vector<WordResult>& results)
{
    const ScoreSets s = CollectScores(results);
    long enrolled = 0, enrolFailures = 0, probes = 0, probesTaken = 0, readingsUsed = 0, recognised = 0;
    std::vector<std::vector<bool>> genuineSeries, impostorSeries;
    for (const auto& r : results) {
        enrolled += r.enrolled;
        enrolFailures += r.enrolFailures;
        readingsUsed += r.enrolReadingsUsed;
        probes += r.probes;
        probesTaken += r.probesTaken;
        recognised += r.wordsRecognised;
        genuineSeries.insert(genuineSeries.end(), r.genuineSeries.begin(), r.genuineSeries.end());
        impostorSeries.insert(impostorSeries.end(), r.impostorSeries.begin(), r.impostorSeries.end());
    }
    std::fprintf(out, "enrolments: %ld trained, %ld failed; %.2f readings used per enrolment\n", enrolled,
        enrolFailures, enrolled ? static_cast<double>(readingsUsed) / enrolled : 0.0);
    std::fprintf(out, "verification readings taken by endpoint detection and analysis: %ld of %ld (%.1f %%)\n",
        probesTaken, probes, Percent(probesTaken, probes));
    std::fprintf(out,
        "word check (off in the dialog): %ld of %ld live verification readings recognised as their word "
        "(%.1f %%)\n",
        recognised, probesTaken, Percent(recognised, probesTaken));
    std::fprintf(out, "trials: %zu genuine, %zu impostor (%zu same gender; %zu more within variant families)\n",
        s.genuine.size(), s.impostor.size(), s.impostorSameGender.size(),
        s.impostorAllPairs.size() - s.impostor.size());
    const ErrorRates all = EqualErrorRate(s.genuine, s.impostor);
    const ErrorRates same = EqualErrorRate(s.genuine, s.impostorSameGender);
    std::fprintf(out, "equal error rate: %.2f %% (all impostors), %.2f %% (same gender); at margin %.3f and %.3f\n",
        100.0 * all.falseAcceptance, 100.0 * same.falseAcceptance, kDialogMargin - all.threshold,
        kDialogMargin - same.threshold);
    std::fprintf(out,
        "counting variant families as impostors too: equal error rate %.2f %%, false acceptance at "
        "the operating point %.2f %%\n",
        100.0 * EqualErrorRate(s.genuine, s.impostorAllPairs).falseAcceptance,
        Percent(s.allPairsAccepted, static_cast<long>(s.impostorAllPairs.size())));
    std::fprintf(out, "per word (all impostors):");
    for (std::size_t w = 0; w < words.size() && w < results.size(); ++w) {
        const ScoreSets ws = CollectScores({results[w]});
        std::fprintf(
            out, " %s %.2f %%", words[w].code.c_str(), 100.0 * EqualErrorRate(ws.genuine, ws.impostor).falseAcceptance);
    }
    std::fprintf(out, "\n");
    std::fprintf(out,
        "operating point (margin %.1f), per reading: false acceptance %.2f %% (same gender %.2f %%), "
        "false rejection %.2f %%\n",
        kDialogMargin, Percent(s.impostorAccepted, static_cast<long>(s.impostor.size())),
        Percent(s.sameGenderAccepted, static_cast<long>(s.impostorSameGender.size())),
        100.0 - Percent(s.genuineAccepted, static_cast<long>(s.genuine.size())));
    std::fprintf(out,
        "operating point, per session of up to %d readings: false acceptance %.2f %%, false rejection %.2f %%\n",
        kSessionLength, 100.0 * SessionAcceptance(impostorSeries, kSessionLength),
        100.0 * (1.0 - SessionAcceptance(genuineSeries, kSessionLength)));
    std::fprintf(out,
        "live check: %.1f %% of replayed genuine readings flagged (%ld of %ld; %.1f %% of them still "
        "accepted by verification), %.1f %% of live readings flagged (%ld of %ld)\n",
        Percent(s.replayFlagged, s.replayProbes), s.replayFlagged, s.replayProbes,
        Percent(s.replayAccepted, s.replayProbes), Percent(s.liveFlagged, s.liveProbes), s.liveFlagged, s.liveProbes);
    std::map<int, UpdateCheckpoint> update;
    long sessionsRun = 0, sessionsAccepted = 0, rewritten = 0;
    for (const auto& r : results) {
        for (const auto& [sessions, point] : r.update) {
            UpdateCheckpoint& total = update[sessions];
            total.sessions = sessions;
            total.genuineScore += point.genuineScore; // already weighted by trials
            total.genuineAccepted += point.genuineAccepted;
            total.genuineTrials += point.genuineTrials;
            total.impostorAccepted += point.impostorAccepted;
            total.impostorTrials += point.impostorTrials;
        }
        sessionsRun += r.updateSessionsRun;
        sessionsAccepted += r.updateSessionsAccepted;
        rewritten += r.modelsRewritten;
    }
    if (!update.empty())
        std::fprintf(out, "model update: %ld of %ld sessions accepted, %ld model rewrites\n", sessionsAccepted,
            sessionsRun, rewritten);
    for (const auto& [sessions, p] : update)
        std::fprintf(out,
            "  after %2d sessions: held-out genuine score %.4f (accepted %.1f %%), impostor acceptance "
            "%.2f %% (%d trials)\n",
            sessions, p.genuineTrials ? p.genuineScore / p.genuineTrials : 0.0,
            Percent(p.genuineAccepted, p.genuineTrials), Percent(p.impostorAccepted, p.impostorTrials),
            p.impostorTrials);
}

std::vector<HeldOutTrial> HeldOutTrials(const std::vector<WordResult>& results)
{
    std::vector<HeldOutTrial> trials;
    for (const auto& r : results)
        for (const auto& t : r.trials) {
            HeldOutTrial h;
            h.genuine = t.genuine;
            h.replayed = t.replayed;
            h.countedImpostor = !t.sameFamily;
            h.judgedLive = t.live;
            h.accepted = t.outcome.accepted;
            h.score = t.outcome.Score();
            h.kind = t.kind;
            trials.push_back(std::move(h));
        }
    return trials;
}

// Narrows the manifest to the held-out family's evaluation and, unless models were given, builds them without
// the family into OUT/models. False with a one-line reason; `usage` tells a bad family name from a failed build.
bool PrepareHeldOut(EvalOptions* options, std::vector<modelbuild::CorpusReading>* manifest,
    std::set<std::string>* targets, FamilyKind* kind, bool* usage, std::string& error)
{
    *kind = ClassifyFamily(*manifest, options->holdOut);
    *usage = *kind == FamilyKind::None;
    if (*usage) {
        error = "the corpus has no reading of family " + options->holdOut;
        return false;
    }
    HeldOutSelection selection = SelectHeldOut(*manifest, options->holdOut, *kind);
    *targets = std::move(selection.targets);
    *manifest = std::move(selection.readings);
    if (!options->engineData.empty())
        return true;
    modelbuild::BuildOptions build;
    build.corpusFolder = options->corpus;
    build.vocabularyFile = options->vocabulary;
    build.outputFolder = (fs::path(options->out) / "models").string();
    build.threads = options->threads;
    build.excludeFamily = options->holdOut;
    std::fprintf(stderr, "halvox eval: building the models without %s into %s\n", options->holdOut.c_str(),
        build.outputFolder.c_str());
    if (!modelbuild::BuildEngineData(build, error))
        return false;
    options->engineData = build.outputFolder;
    return true;
}

} // namespace

int RunEval(const Arguments& args)
{
    EvalOptions options;
    std::string error;
    if (!ParseEvalOptions(args, &options, error))
        return UsageError(error);
    std::vector<modelbuild::VocabularyEntry> words;
    std::vector<modelbuild::CorpusReading> manifest;
    if (!modelbuild::ReadVocabularyList(options.vocabulary, &words, error)
        || !modelbuild::ReadCorpusManifest((fs::path(options.corpus) / "manifest.tsv").string(), &manifest, error))
        return UsageError(error);
    std::error_code ec;
    fs::create_directories(options.out, ec);
    std::set<std::string> targets;
    FamilyKind kind = FamilyKind::None;
    if (!options.holdOut.empty()) {
        bool usage = false;
        if (!PrepareHeldOut(&options, &manifest, &targets, &kind, &usage, error)) {
            if (usage)
                return UsageError(error);
            std::fprintf(stderr, "halvox eval: %s\n", error.c_str());
            return kExitDenied;
        }
    }
    if (!modelbuild::InstallEngineData(options.engineData, options.work, error))
        return UsageError(error);
    const auto byWord = GroupEvaluationReadings(manifest, options.corpus, targets);
    // Thousands of model updates would bury the report under their progress lines.
    const ScopedLogSink quietEngine([](std::string_view) {});

    std::vector<WordResult> results(words.size());
    std::atomic<int> next {0};
    const auto worker = [&] {
        for (int w = next++; w < static_cast<int>(words.size()); w = next++) {
            const auto found = byWord.find(words[static_cast<std::size_t>(w)].code);
            if (found != byWord.end())
                results[static_cast<std::size_t>(w)]
                    = EvaluateWord(options, words[static_cast<std::size_t>(w)], found->second);
            std::fprintf(stderr, "halvox eval: %s done\n", words[static_cast<std::size_t>(w)].code.c_str());
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < options.threads; ++t)
        pool.emplace_back(worker);
    worker();
    for (auto& thread : pool)
        thread.join();

    const ScoreSets scores = CollectScores(results);
    WriteTrials(fs::path(options.out) / "trials.tsv", results);
    WriteDet(fs::path(options.out) / "det_all.tsv", scores.genuine, scores.impostor);
    WriteDet(fs::path(options.out) / "det_same_gender.tsv", scores.genuine, scores.impostorSameGender);
    PrintSummary(stdout, words, results);
    FILE* summary = std::fopen((fs::path(options.out) / "summary.txt").string().c_str(), "w");
    if (summary != nullptr) {
        PrintSummary(summary, words, results);
        for (const auto& r : results)
            for (const auto& note : r.notes)
                std::fprintf(summary, "note: %s\n", note.c_str());
        std::fclose(summary);
    }
    if (!options.holdOut.empty()) {
        const std::string figures
            = FormatHeldOut(options.holdOut, kind, SummariseHeldOut(HeldOutTrials(results), kDialogMargin));
        std::fputs(figures.c_str(), stdout);
        FILE* file = std::fopen((fs::path(options.out) / "holdout.txt").string().c_str(), "w");
        if (file != nullptr) {
            std::fprintf(file, "models: %s\n", options.engineData.c_str());
            std::fputs(figures.c_str(), file);
            std::fclose(file);
        }
    }
    return kExitOk;
}

} // namespace halvox::tool
