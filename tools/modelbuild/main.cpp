// halvox-modelbuild: the engine's shipped background, recording and vocabulary models, built from the
// training part of a voice corpus (tools/corpus/make_corpus.py).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "EngineDataBuilder.h"

namespace {

void PrintUsage()
{
    std::printf("usage: halvox-modelbuild --corpus DIR --out DIR [--vocabulary FILE] [--codebook 128]\n"
                "                         [--vocabulary-codebook 64] [--threads 2] [--voices-per-gender N]\n"
                "Writes DIR/word<K>/<code>_m.bin, _f.bin, _mcopy.bin, _fcopy.bin and DIR/iwrec/miwr.bin, fiwr.bin.\n");
}

bool ParseCount(const char* text, int low, int high, int* value)
{
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < low || parsed > high)
        return false;
    *value = static_cast<int>(parsed);
    return true;
}

bool ParseOptions(int argc, char** argv, modelbuild::BuildOptions* options)
{
    options->vocabularyFile = "data/vocabulary.tsv";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        bool ok = true;
        if (name == "--corpus")
            options->corpusFolder = value;
        else if (name == "--out")
            options->outputFolder = value;
        else if (name == "--vocabulary")
            options->vocabularyFile = value;
        else if (name == "--codebook")
            ok = ParseCount(value, 2, 4096, &options->codebookSize);
        else if (name == "--vocabulary-codebook")
            ok = ParseCount(value, 2, 4096, &options->vocabularyCodebookSize);
        else if (name == "--threads")
            ok = ParseCount(value, 1, 64, &options->threads);
        else if (name == "--voices-per-gender")
            ok = ParseCount(value, 0, 100000, &options->voicesPerGender);
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "halvox-modelbuild: bad option %s %s\n", name.c_str(), value);
            return false;
        }
    }
    return argc % 2 == 1 && !options->corpusFolder.empty() && !options->outputFolder.empty();
}

} // namespace

int main(int argc, char** argv)
{
    modelbuild::BuildOptions options;
    if (!ParseOptions(argc, argv, &options)) {
        PrintUsage();
        return 2;
    }
    std::string error;
    if (!modelbuild::BuildEngineData(options, error)) {
        std::fprintf(stderr, "halvox-modelbuild: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
