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

/**
 * A 5-state left-to-right HMM over `codebook`, trained with the engine's own re-estimation on the
 * sequences quantised with the given dimension weights. Sequences the engine cannot train on (fewer than
 * two frames, no frame with a positive confidence) are skipped; false when none is left.
 */
bool TrainWordHmm(const Sequences& sequences, const Codebook& codebook, halvox::DimensionWeightKind weights,
    std::vector<float>* pi, std::vector<float>* a, std::vector<float>* b);

/**
 * A background model (withMean: the mean vector of every frame first) or recording model of one word and
 * gender: an LBG codebook of `size` codewords over all frames and an HMM over it. The background HMM is
 * trained under the engine's default dimension weights, the recording HMM under the recording-check
 * weights, the ones the live check uses.
 */
bool BuildCodebookModel(
    const Sequences& sequences, int size, bool withMean, halvox::CodebookModel* model, std::string* error);

/**
 * The word recogniser's file for one gender: one PLP codebook shared by the words and one HMM per word
 * (trained under unit dimension weights, as the word check quantises). perWord[g] holds the readings of
 * the g-th word (aaj ... afj); labels[g] is its display text.
 */
bool BuildVocabularyModel(const std::vector<Sequences>& perWord, const std::vector<std::string>& labels, int size,
    halvox::VocabularyModel* model, std::string* error);

} // namespace modelbuild
