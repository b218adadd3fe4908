#include "HoldOut.h"

#include <gtest/gtest.h>

namespace halvox::tool {
namespace {

using modelbuild::CorpusReading;

CorpusReading Reading(
    const std::string& voice, const std::string& family, bool evaluation, bool replayed, const std::string& chainOrMic)
{
    CorpusReading r;
    r.voice = voice;
    r.file = voice + (replayed ? "_replay.wav" : ".wav");
    r.word = "aaj";
    r.family = family;
    r.evaluation = evaluation;
    r.replayed = replayed;
    r.chain = replayed ? chainOrMic : "-";
    r.mic = replayed ? "-" : chainOrMic;
    return r;
}

// Two training voices (one of family "klatt"), two evaluation voices (one of family "klatt"), each with a
// live reading and replays through two loudspeaker kinds.
std::vector<CorpusReading> SmallCorpus()
{
    std::vector<CorpusReading> corpus;
    const struct
    {
        const char* voice;
        const char* family;
        bool evaluation;
    } voices[] = {{"t1", "formant", false}, {"t2", "klatt", false}, {"e1", "formant", true}, {"e2", "klatt", true}};
    for (const auto& v : voices) {
        corpus.push_back(Reading(v.voice, v.family, v.evaluation, false, "headset"));
        corpus.push_back(Reading(v.voice, v.family, v.evaluation, true, "phone"));
        corpus.push_back(Reading(v.voice, v.family, v.evaluation, true, "laptop"));
    }
    return corpus;
}

std::vector<std::string> Files(const HeldOutSelection& selection)
{
    std::vector<std::string> files;
    for (const auto& r : selection.readings) {
        EXPECT_TRUE(r.evaluation) << r.file << " is measured, so it must be marked an evaluation reading";
        files.push_back(r.file);
    }
    return files;
}

TEST(HeldOutSelection, NamesAreClassifiedByTheColumnThatCarriesThem)
{
    const auto corpus = SmallCorpus();
    EXPECT_EQ(ClassifyFamily(corpus, "klatt"), FamilyKind::Voice);
    EXPECT_EQ(ClassifyFamily(corpus, "phone"), FamilyKind::Replay);
    EXPECT_EQ(ClassifyFamily(corpus, "headset"), FamilyKind::None);
    EXPECT_EQ(ClassifyFamily(corpus, "-"), FamilyKind::None);
    EXPECT_EQ(ClassifyFamily(corpus, ""), FamilyKind::None);
    EXPECT_EQ(ClassifyFamily(corpus, "laptop,phone"), FamilyKind::Replay);
    EXPECT_EQ(ClassifyFamily(corpus, "klatt,formant,"), FamilyKind::Voice);
    // A list must not mix the kinds, nor hide an unknown name behind a known one.
    EXPECT_EQ(ClassifyFamily(corpus, "klatt,phone"), FamilyKind::None);
    EXPECT_EQ(ClassifyFamily(corpus, "phone,phono"), FamilyKind::None);
}

TEST(HeldOutSelection, SeveralLoudspeakerKindsAreMeasuredTogether)
{
    const HeldOutSelection s = SelectHeldOut(SmallCorpus(), "phone,laptop", FamilyKind::Replay);
    EXPECT_EQ(Files(s),
        (std::vector<std::string> {
            "e1.wav", "e1_replay.wav", "e1_replay.wav", "e2.wav", "e2_replay.wav", "e2_replay.wav"}));
}

TEST(HeldOutSelection, AVoiceFamilyIsMeasuredOnAllItsVoicesAgainstTheEvaluationVoices)
{
    const HeldOutSelection s = SelectHeldOut(SmallCorpus(), "klatt", FamilyKind::Voice);
    // The family's training voice joins the measurement: its readings are out of the models.
    EXPECT_EQ(s.targets, (std::set<std::string> {"t2", "e2"}));
    EXPECT_EQ(Files(s),
        (std::vector<std::string> {
            "t2.wav", "t2_replay.wav", "t2_replay.wav", "e1.wav", "e2.wav", "e2_replay.wav", "e2_replay.wav"}));
}

TEST(HeldOutSelection, ALoudspeakerKindIsMeasuredOnlyOnItsReplaysOfEvaluationVoices)
{
    const HeldOutSelection s = SelectHeldOut(SmallCorpus(), "laptop", FamilyKind::Replay);
    EXPECT_EQ(s.targets, (std::set<std::string> {"e1", "e2"}));
    ASSERT_EQ(Files(s), (std::vector<std::string> {"e1.wav", "e1_replay.wav", "e2.wav", "e2_replay.wav"}));
    EXPECT_EQ(s.readings[1].chain, "laptop");
    EXPECT_EQ(s.readings[3].chain, "laptop");
}

HeldOutTrial Trial(bool genuine, bool replayed, double score, bool judgedLive, const std::string& kind = "full")
{
    HeldOutTrial t;
    t.genuine = genuine;
    t.replayed = replayed;
    t.score = score;
    t.accepted = score < 0.0;
    t.judgedLive = judgedLive;
    t.kind = kind;
    return t;
}

TEST(HeldOutFigures, CountEachTrialWhereItBelongs)
{
    std::vector<HeldOutTrial> trials = {
        Trial(true, false, -0.5, true, "full"), Trial(true, false, -0.4, false, "webcam"), // a live reading flagged
        Trial(true, false, 0.2, true, "webcam"), // falsely rejected
        Trial(true, false, -0.3, true, "headset"), Trial(false, false, -0.1, true), // falsely accepted
        Trial(false, false, 0.6, true), Trial(false, false, 0.7, true), Trial(false, false, 0.8, true),
        Trial(true, true, -0.2, true, "phone"), // a replay that unlocks
        Trial(true, true, -0.2, false, "phone"),
        Trial(true, true, 0.3, true, "laptop"), // passes the live check, refused by verification
        Trial(false, true, -0.9, true, "phone"), // not an attack on its model: ignored
    };
    HeldOutTrial retouched = Trial(false, false, -0.9, true);
    retouched.countedImpostor = false;
    trials.push_back(retouched);

    const HeldOutFigures f = SummariseHeldOut(trials, 0.3);
    EXPECT_EQ(f.genuineTrials, 4);
    EXPECT_EQ(f.impostorTrials, 4);
    EXPECT_EQ(f.falseAcceptance.part, 1);
    EXPECT_EQ(f.falseAcceptance.whole, 4);
    EXPECT_EQ(f.falseRejection.part, 1);
    EXPECT_EQ(f.falseRejection.whole, 4);
    EXPECT_EQ(f.falseRejectionByKind.at("webcam").part, 1);
    EXPECT_EQ(f.falseRejectionByKind.at("webcam").whole, 2);
    EXPECT_EQ(f.falseRejectionByKind.at("full").part, 0);
    EXPECT_EQ(f.liveFlagged.part, 1);
    EXPECT_EQ(f.liveFlagged.whole, 4);
    EXPECT_EQ(f.liveFlaggedByKind.at("webcam").part, 1);
    EXPECT_EQ(f.liveFlaggedByKind.at("webcam").whole, 2);
    EXPECT_EQ(f.liveFlaggedByKind.at("headset").part, 0);
    EXPECT_EQ(f.replaysFlagged.part, 1);
    EXPECT_EQ(f.replaysFlagged.whole, 3);
    EXPECT_EQ(f.replaysFlaggedByKind.at("phone").whole, 2);
    EXPECT_EQ(f.replaysFlaggedByKind.at("laptop").part, 0);
    EXPECT_EQ(f.replaysUnlocking.part, 1);
    EXPECT_EQ(f.replaysUnlocking.whole, 3);
    EXPECT_EQ(f.replaysUnlockingByKind.at("phone").part, 1);
    EXPECT_EQ(f.replaysUnlockingByKind.at("laptop").part, 0);
    // One of four on each side errs at every threshold above -0.1 and up to 0.2, which is the dialog's
    // margin of 0.3 moved by that much.
    EXPECT_DOUBLE_EQ(f.equalErrorRate, 25.0);
    EXPECT_GE(f.equalErrorMargin, 0.3 - 0.2);
    EXPECT_LT(f.equalErrorMargin, 0.3 + 0.1);
}

TEST(HeldOutFigures, EachMicrophoneHasItsOwnEqualErrorRate)
{
    // Full band separates cleanly, the webcam errs once on each side, and the pooled rate lies between.
    const std::vector<HeldOutTrial> trials = {
        Trial(true, false, -0.5, true, "full"), Trial(true, false, -0.4, true, "full"),
        Trial(false, false, 0.6, true, "full"), Trial(false, false, 0.7, true, "full"),
        Trial(true, false, 0.2, true, "webcam"), Trial(true, false, -0.3, true, "webcam"),
        Trial(false, false, -0.1, true, "webcam"), Trial(false, false, 0.5, true, "webcam"),
        Trial(true, false, -0.6, true, "headset"), // no impostor through the headset: no rate of its own
        Trial(true, true, 0.9, true, "phone"), // replays are no part of it
    };
    const HeldOutFigures f = SummariseHeldOut(trials, 0.3);
    EXPECT_NEAR(f.equalErrorRate, 0.5 * (100.0 / 5 + 100.0 / 4), 1e-9); // one of five genuine, one of four impostor
    ASSERT_EQ(f.equalErrorRateByKind.size(), 2u);
    EXPECT_DOUBLE_EQ(f.equalErrorRateByKind.at("full"), 0.0);
    EXPECT_DOUBLE_EQ(f.equalErrorRateByKind.at("webcam"), 50.0);
    const std::string text = FormatHeldOut("flite", FamilyKind::Voice, f);
    EXPECT_NE(text.find("  webcam         50.00 %\n"), std::string::npos) << text;
}

TEST(HeldOutFigures, WithoutImpostorsThereIsNoEqualErrorRate)
{
    const HeldOutFigures f = SummariseHeldOut({Trial(true, false, -0.5, true)}, 0.3);
    EXPECT_EQ(f.impostorTrials, 0);
    EXPECT_EQ(f.equalErrorRate, 0.0);
    const std::string text = FormatHeldOut("flite", FamilyKind::Voice, f);
    EXPECT_EQ(text.rfind("held-out family: flite (voice family)\n", 0), 0u) << text;
    EXPECT_NE(text.find("live readings flagged: 0.0 % (0 of 1)"), std::string::npos) << text;
}

} // namespace
} // namespace halvox::tool
