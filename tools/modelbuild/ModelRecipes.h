#pragma once

#include <string>
#include <vector>

#include "LbgCodebook.h"
#include "ModelFiles.h"
#include "VectorQuantizer.h"

namespace modelbuild {

/** Feature sequences of one model's training readings, each frames x dim floats. */
using Sequences = std::vector<std::vector<float>>;

inline constexpr int kHmmStates = 5;
/** The engine's HMM convergence threshold (the voice dialog's setting). */
inline constexpr double kHmmConvergence = 0.0005;

/** Where re-estimation starts: the engine's own random model, or equal parts of every reading per state. */
enum class HmmStart
{
    Random,
    Segmental
};

/** How an HMM of the shipped data is trained. */
struct HmmRecipe
{
    /** The dimension weights the readings are quantised with, the ones of the operation that scores the model. */
    halvox::DimensionWeightKind weights = halvox::DimensionWeightKind::Default;
    HmmStart start = HmmStart::Random;
    /**
     * Every frame counts alike in re-estimation instead of by its quantisation confidence. Scoring counts
     * every frame alike; the confidences of the live check's steep weights would leave a handful of frames
     * per reading to shape the outputs.
     */
    bool equalFrames = false;
};

inline constexpr HmmRecipe kBackgroundHmm {halvox::DimensionWeightKind::Default, HmmStart::Random, false};
inline constexpr HmmRecipe kRecordingHmm {halvox::DimensionWeightKind::RecordingCheck, HmmStart::Segmental, true};
inline constexpr HmmRecipe kVocabularyHmm {halvox::DimensionWeightKind::Unit, HmmStart::Random, false};

/**
 * A 5-state left-to-right HMM over `codebook`, trained with the engine's own re-estimation on the
 * sequences quantised as `recipe` says. Sequences the engine cannot train on (fewer than
 * two frames, no frame with a positive confidence) are skipped; false when none is left.
 */
bool TrainWordHmm(const Sequences& sequences, const Codebook& codebook, const HmmRecipe& recipe, std::vector<float>* pi,
    std::vector<float>* a, std::vector<float>* b);

/** Rounds of CaptureFromRival for the recording codebooks. */
inline constexpr int kCaptureRounds = 10;

/**
 * The background model of one word and gender: the mean vector of every frame, an LBG codebook of `size`
 * codewords over all frames and an HMM over it, trained under the engine's default dimension weights.
 */
bool BuildBackgroundModel(const Sequences& sequences, int size, halvox::CodebookModel* model, std::string& error);

/**
 * The recording model of one word and gender, from its replayed readings: an LBG codebook of as many
 * codewords as `background` has, moved so that the live check puts as many replayed frames as it can on
 * it rather than on the background codewords (CaptureFromRival), and an HMM over it trained under the
 * live check's dimension weights.
 */
bool BuildRecordingModel(const Sequences& sequences, const halvox::CodebookModel& background,
    halvox::CodebookModel* model, std::string& error);

/**
 * The word recogniser's file for one gender: one PLP codebook shared by the words and one HMM per word
 * (trained under unit dimension weights, as the word check quantises). perWord[g] holds the readings of
 * the g-th word (aaj ... afj); labels[g] is its display text.
 */
bool BuildVocabularyModel(const std::vector<Sequences>& perWord, const std::vector<std::string>& labels, int size,
    halvox::VocabularyModel* model, std::string& error);

} // namespace modelbuild
