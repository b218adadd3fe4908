#pragma once

#include <string>

namespace modelbuild {

struct BuildOptions
{
    std::string corpusFolder; ///< holds manifest.tsv and the readings it names
    std::string vocabularyFile; ///< data/vocabulary.tsv
    std::string outputFolder; ///< receives word<K>/ and iwrec/
    int codebookSize = 128;
    int vocabularyCodebookSize = 64;
    int threads = 2;
    int voicesPerGender = 0; ///< 0: every training voice; otherwise the first N of each gender (quick builds)
    /// Leaves out every reading of this voice family or loudspeaker kind (manifest columns family and chain),
    /// so that the models can be measured on it as on something never met; several are separated by commas.
    /// Empty: nothing left out.
    std::string excludeFamily;
};

/**
 * Builds the shipped engine data from the training part of a corpus: per word and gender the background
 * model (live readings) and the recording model (replayed readings), and per gender the vocabulary file.
 * Readings are analysed as the voice dialog has the engine analyse them in verification. Prints a summary
 * to standard output. Returns false with a message when the corpus, the vocabulary or a model fails.
 */
bool BuildEngineData(const BuildOptions& options, std::string& error);

} // namespace modelbuild
