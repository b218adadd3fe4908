#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "CorpusManifest.h"

namespace halvox::tool {

/** What a held-out family name stands for in a corpus. */
enum class FamilyKind
{
    None, ///< no reading carries it
    Voice, ///< a voice family (synthesiser or voice source): manifest column family
    Replay ///< a loudspeaker kind: manifest column chain
};

/** Several families (a comma-separated list) must all be of one kind; otherwise, or when one is unknown, None. */
FamilyKind ClassifyFamily(const std::vector<modelbuild::CorpusReading>& manifest, const std::string& family);

/** The readings a held-out evaluation runs on, and the speakers whose models it measures. */
struct HeldOutSelection
{
    /// Marked as evaluation readings. A voice family: every reading of the family's voices, whatever their
    /// split (the models never see them), and the live readings of the other evaluation voices as impostors.
    /// A loudspeaker kind: the evaluation voices' live readings and their replays through that kind only.
    /// Several families: the union.
    std::vector<modelbuild::CorpusReading> readings;
    /// Voices enrolled and verified as targets: the family's voices, or every evaluation voice.
    std::set<std::string> targets;
};

HeldOutSelection SelectHeldOut(
    const std::vector<modelbuild::CorpusReading>& manifest, const std::string& family, FamilyKind kind);

/** One verification or live check of a held-out evaluation, as far as its figures need it. */
struct HeldOutTrial
{
    bool genuine = false;
    bool replayed = false;
    bool countedImpostor = true; ///< false for pairs of one voice retouched (left out of impostor figures)
    bool judgedLive = false;
    bool accepted = false;
    double score = 0.0; ///< below 0: accepted
    std::string kind; ///< microphone kind of a live probe, loudspeaker kind of a replay
};

struct Share
{
    long part = 0;
    long whole = 0;
    double Percent() const { return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / whole; }
};

struct HeldOutFigures
{
    long genuineTrials = 0;
    long impostorTrials = 0;
    double equalErrorRate = 0.0; ///< percent
    double equalErrorMargin = 0.0; ///< the margin at which false acceptance meets false rejection
    /// The same, with genuine and impostor readings of one microphone kind only (kinds that have both), percent
    std::map<std::string, double> equalErrorRateByKind;
    Share falseAcceptance; ///< impostor trials accepted at the dialog's margin
    Share falseRejection; ///< genuine live trials refused at the dialog's margin
    std::map<std::string, Share> falseRejectionByKind;
    Share replaysFlagged; ///< replays of a target's reading that the live check calls recorded
    Share replaysUnlocking; ///< replays that pass the live check and verification against their speaker
    std::map<std::string, Share> replaysFlaggedByKind;
    std::map<std::string, Share> replaysUnlockingByKind;
    Share liveFlagged; ///< genuine live readings the live check calls recorded
    std::map<std::string, Share> liveFlaggedByKind;
};

/** Figures of a held-out evaluation from its trials, with the dialog's margin (scores are relative to it). */
HeldOutFigures SummariseHeldOut(const std::vector<HeldOutTrial>& trials, double dialogMargin);

/** The figures as text lines, the first naming the family; each line ends in a newline. */
std::string FormatHeldOut(const std::string& family, FamilyKind kind, const HeldOutFigures& figures);

} // namespace halvox::tool
