#include "HoldOut.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <utility>

#include "EvalStatistics.h"

namespace halvox::tool {

namespace {

FamilyKind ClassifyOne(const std::vector<modelbuild::CorpusReading>& manifest, const std::string& family)
{
    if (family.empty() || family == "-")
        return FamilyKind::None;
    // A loudspeaker kind is asked first: its name is what replays carry, a voice family never names one.
    const auto has = [&](auto member) {
        return std::any_of(manifest.begin(), manifest.end(), [&](const auto& r) { return r.*member == family; });
    };
    if (has(&modelbuild::CorpusReading::chain))
        return FamilyKind::Replay;
    if (has(&modelbuild::CorpusReading::family))
        return FamilyKind::Voice;
    return FamilyKind::None;
}

} // namespace

FamilyKind ClassifyFamily(const std::vector<modelbuild::CorpusReading>& manifest, const std::string& family)
{
    const std::vector<std::string> names = modelbuild::FamilyNames(family);
    if (names.empty())
        return FamilyKind::None;
    const FamilyKind kind = ClassifyOne(manifest, names.front());
    for (const std::string& name : names)
        if (ClassifyOne(manifest, name) != kind)
            return FamilyKind::None;
    return kind;
}

HeldOutSelection SelectHeldOut(
    const std::vector<modelbuild::CorpusReading>& manifest, const std::string& family, FamilyKind kind)
{
    HeldOutSelection selection;
    const std::vector<std::string> names = modelbuild::FamilyNames(family);
    const auto named
        = [&](const std::string& value) { return std::find(names.begin(), names.end(), value) != names.end(); };
    for (const auto& r : manifest) {
        bool take = false;
        if (kind == FamilyKind::Voice) {
            const bool member = named(r.family);
            take = member || (r.evaluation && !r.replayed);
            if (member)
                selection.targets.insert(r.voice);
        } else if (kind == FamilyKind::Replay) {
            take = r.evaluation && (!r.replayed || named(r.chain));
            if (take)
                selection.targets.insert(r.voice);
        }
        if (take) {
            selection.readings.push_back(r);
            selection.readings.back().evaluation = true;
        }
    }
    return selection;
}

HeldOutFigures SummariseHeldOut(const std::vector<HeldOutTrial>& trials, double dialogMargin)
{
    HeldOutFigures f;
    std::vector<double> genuine, impostor;
    std::map<std::string, std::pair<std::vector<double>, std::vector<double>>> scoresByKind;
    const auto count = [](Share* share, bool hit) {
        ++share->whole;
        share->part += hit ? 1 : 0;
    };
    for (const auto& t : trials) {
        if (t.replayed) {
            // Only a replay of the speaker's own reading is an attack on that speaker's model.
            if (!t.genuine)
                continue;
            count(&f.replaysFlagged, !t.judgedLive);
            count(&f.replaysFlaggedByKind[t.kind], !t.judgedLive);
            count(&f.replaysUnlocking, t.judgedLive && t.accepted);
            count(&f.replaysUnlockingByKind[t.kind], t.judgedLive && t.accepted);
        } else if (t.genuine) {
            genuine.push_back(t.score);
            scoresByKind[t.kind].first.push_back(t.score);
            count(&f.falseRejection, !t.accepted);
            count(&f.falseRejectionByKind[t.kind], !t.accepted);
            count(&f.liveFlagged, !t.judgedLive);
            count(&f.liveFlaggedByKind[t.kind], !t.judgedLive);
        } else if (t.countedImpostor) {
            impostor.push_back(t.score);
            scoresByKind[t.kind].second.push_back(t.score);
            count(&f.falseAcceptance, t.accepted);
        }
    }
    f.genuineTrials = static_cast<long>(genuine.size());
    f.impostorTrials = static_cast<long>(impostor.size());
    if (!genuine.empty() && !impostor.empty()) {
        const ErrorRates eer = EqualErrorRate(genuine, impostor);
        f.equalErrorRate = 100.0 * eer.falseAcceptance;
        f.equalErrorMargin = dialogMargin - eer.threshold;
    }
    for (const auto& [kind, scores] : scoresByKind)
        if (!scores.first.empty() && !scores.second.empty())
            f.equalErrorRateByKind[kind] = 100.0 * EqualErrorRate(scores.first, scores.second).falseAcceptance;
    return f;
}

namespace {

std::string Line(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Line(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return std::string(buffer) + "\n";
}

std::string Shares(const std::map<std::string, Share>& byKind)
{
    std::string text;
    for (const auto& [kind, share] : byKind)
        text += Line("  %-14s %5.1f %% (%ld of %ld)", kind.c_str(), share.Percent(), share.part, share.whole);
    return text;
}

} // namespace

std::string FormatHeldOut(const std::string& family, FamilyKind kind, const HeldOutFigures& f)
{
    std::string text = Line(
        "held-out family: %s (%s)", family.c_str(), kind == FamilyKind::Replay ? "loudspeaker kind" : "voice family");
    text += Line("trials: %ld genuine, %ld impostor", f.genuineTrials, f.impostorTrials);
    text += Line("equal error rate: %.2f %% (at margin %.3f)", f.equalErrorRate, f.equalErrorMargin);
    text += Line("at the dialog's margin: false acceptance %.2f %% (%ld of %ld), false rejection %.2f %% (%ld of %ld)",
        f.falseAcceptance.Percent(), f.falseAcceptance.part, f.falseAcceptance.whole, f.falseRejection.Percent(),
        f.falseRejection.part, f.falseRejection.whole);
    text += Line("equal error rate by microphone kind (genuine and impostor readings through it):");
    for (const auto& [kind, rate] : f.equalErrorRateByKind)
        text += Line("  %-14s %5.2f %%", kind.c_str(), rate);
    text += Line("false rejection by microphone kind:");
    text += Shares(f.falseRejectionByKind);
    text += Line("replays flagged by the live check: %.1f %% (%ld of %ld)", f.replaysFlagged.Percent(),
        f.replaysFlagged.part, f.replaysFlagged.whole);
    text += Shares(f.replaysFlaggedByKind);
    text += Line("replays passing the live check and verification: %.1f %% (%ld of %ld)", f.replaysUnlocking.Percent(),
        f.replaysUnlocking.part, f.replaysUnlocking.whole);
    text += Shares(f.replaysUnlockingByKind);
    text += Line("live readings flagged: %.1f %% (%ld of %ld)", f.liveFlagged.Percent(), f.liveFlagged.part,
        f.liveFlagged.whole);
    text += Shares(f.liveFlaggedByKind);
    return text;
}

} // namespace halvox::tool
