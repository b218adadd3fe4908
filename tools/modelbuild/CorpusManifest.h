#pragma once

#include <string>
#include <vector>

namespace modelbuild {

/** One reading of the voice corpus as its manifest lists it. */
struct CorpusReading
{
    std::string file; ///< relative to the corpus folder
    std::string voice;
    bool male = true;
    bool evaluation = false; ///< evaluation part (never used for models)
    std::string word; ///< word code
    int take = 0;
    bool replayed = false;
    // Optional columns (empty when the manifest has none): the voice's family (its synthesiser or voice
    // source), the loudspeaker kind of a replayed reading and the microphone kind of a live one ("-" where
    // none applies).
    std::string family;
    std::string chain;
    std::string mic;
};

/**
 * Reads manifest.tsv of a corpus folder (lines starting with '#' are comments; the first other line
 * names the columns, which may come in any order). Returns false with a message naming the line when a
 * column is missing or a value is malformed.
 */
bool ReadCorpusManifest(const std::string& path, std::vector<CorpusReading>* readings, std::string& error);

/** The family names of a comma-separated list ("phone,laptop"), empty parts dropped. */
std::vector<std::string> FamilyNames(const std::string& list);

/** Whether the reading belongs to one of the families, by its voice family or its loudspeaker kind. */
bool InAnyFamily(const CorpusReading& reading, const std::vector<std::string>& families);

/** The words of data/vocabulary.tsv: code, display text, reading, end refinement flag. */
struct VocabularyEntry
{
    std::string code;
    std::string display;
    std::string reading;
    bool trimEnd = false;
};

bool ReadVocabularyList(const std::string& path, std::vector<VocabularyEntry>* words, std::string& error);

} // namespace modelbuild
