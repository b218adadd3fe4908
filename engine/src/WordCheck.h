#pragma once

#include <cstdint>
#include <optional>

#include "EngineContext.h"
#include "ModelFiles.h"

namespace halvox {

/** Index of a vocabulary word in the vocabulary file for a word code ("aaj" -> 0 ... "afj" -> 5), -1 otherwise. */
int VocabularyIndexOfCode(const char* code);

/**
 * The vocabulary word that scores best for an utterance: PLP features quantised with the vocabulary
 * codebook (unit dimension weights), each word's HMM scored over the whole codebook, the highest score
 * winning (the first on ties; a score that is not a number never wins).
 * @return the word index; -1 when the vocabulary holds no word; empty when it holds words but none can
 *         be scored (the utterance gives no PLP frame, or the codebook is not one of PLP vectors).
 */
std::optional<int> RecogniseWord(const VocabularyModel& vocabulary, const int16_t* speech, int speechCount);

/** Whether the recognised word is the one the word code names; a code outside the vocabulary passes only
 *  when the vocabulary holds no word. */
bool WordMatchesCode(std::optional<int> recognised, const char* code);

/**
 * The enrolment word check of the first repetition: the gender's vocabulary file against the speech
 * buffer. Clears labelText first; when the file cannot be read, labelText names it.
 * @param sex 0 or 1 (the male or female vocabulary); any other value fails the check.
 */
bool CheckVocabularyWord(EngineContext& context, const WorkMemory& work, int sex);

} // namespace halvox
