// halvox-modelbuild: the engine's shipped background, recording and vocabulary models, built from the
// training part of a voice corpus (tools/corpus/make_corpus.py).
#include <cstdio>
#include <string>
#include <vector>

#include "ArgumentParser.h"
#include "EngineDataBuilder.h"

namespace {

void PrintUsage()
{
    std::printf("usage: halvox-modelbuild --corpus DIR --out DIR [--vocabulary FILE] [--codebook 128]\n"
                "                         [--vocabulary-codebook 64] [--threads 2] [--voices-per-gender N]\n"
                "                         [--exclude-family NAME]\n"
                "Writes DIR/word<K>/<code>_m.bin, _f.bin, _mcopy.bin, _fcopy.bin and DIR/iwrec/miwr.bin, fiwr.bin.\n");
}

bool ParseOptions(const std::vector<std::string>& words, modelbuild::BuildOptions* options, std::string& error)
{
    options->vocabularyFile = "data/vocabulary.tsv";
    const bool parsed = tools::ArgumentParser()
                            .Text("corpus", &options->corpusFolder)
                            .Text("out", &options->outputFolder)
                            .Text("vocabulary", &options->vocabularyFile)
                            .Integer("codebook", 2, 4096, &options->codebookSize)
                            .Integer("vocabulary-codebook", 2, 4096, &options->vocabularyCodebookSize)
                            .Integer("threads", 1, 64, &options->threads)
                            .Integer("voices-per-gender", 0, 100000, &options->voicesPerGender)
                            .Text("exclude-family", &options->excludeFamily)
                            .Parse(words, error);
    if (parsed && (options->corpusFolder.empty() || options->outputFolder.empty())) {
        error = "--corpus and --out are required";
        return false;
    }
    return parsed;
}

} // namespace

int main(int argc, char** argv)
{
    modelbuild::BuildOptions options;
    std::string error;
    if (!ParseOptions(tools::CommandLineWords(argc, argv), &options, error)) {
        PrintUsage();
        return tools::ReportUsageError("halvox-modelbuild", error);
    }
    if (!modelbuild::BuildEngineData(options, error)) {
        std::fprintf(stderr, "halvox-modelbuild: %s\n", error.c_str());
        return tools::kExitFailed;
    }
    return tools::kExitOk;
}
