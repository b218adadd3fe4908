#include <cstdio>
#include <cstring>
#include <string>

#include "Commands.h"
#include "ToolSupport.h"

namespace {

void PrintUsage()
{
    std::printf("usage: halvox COMMAND [ARGS]\n"
                "  endpoint FILE.wav [--enrol] [--trim]   start and end frames, error number, span\n"
                "  features FILE.wav                      LPC-cepstral vectors of the detected word\n"
                "  model-info FILE.bin [--user|--background|--recording|--vocabulary]\n"
                "                                         header and sizes of a model file\n"
                "  enrol --dir FOLDER --user ID --word CODE --text WORD A.wav B.wav ...\n"
                "                                         enrol a user's word from readings\n"
                "  verify --dir FOLDER --user ID --word CODE X.wav\n"
                "                                         verify one reading (exit 0 accepted, 1 denied, 2 error)\n"
                "  options of enrol and verify: --repeat N (5) --margin M (0.3) --same-word D (1.2)\n"
                "    --noise-mode N (0) --word-check --per-user-folders --no-live-check --no-adapt\n"
                "  options of verify: --history FILE (refuse replays of the readings kept there, as the voice\n"
                "    dialog does with halvoxurh.dat) --remember (add an accepted reading to FILE)\n"
                "  eval --corpus DIR --engine-data DIR --work DIR --out DIR\n"
                "                                         verification accuracy over a voice corpus\n"
                "  fingerprint [--word CODE] FIRST.wav X.wav ...\n"
                "                                         distance of each reading to the first under the\n"
                "                                         captured-unlock check\n"
                "Recordings are WAV files, 16-bit mono at 11025 samples per second.\n");
}

} // namespace

int main(int argc, char** argv)
{
    using namespace halvox::tool;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintUsage();
        return argc < 2 ? kExitError : kExitOk;
    }
    const std::string command = argv[1];
    const Arguments args(argv + 2, argv + argc);
    if (command == "endpoint")
        return RunEndpoint(args);
    if (command == "features")
        return RunFeatures(args);
    if (command == "model-info")
        return RunModelInfo(args);
    if (command == "enrol")
        return RunEnrol(args);
    if (command == "verify")
        return RunVerify(args);
    if (command == "eval")
        return RunEval(args);
    if (command == "fingerprint")
        return RunFingerprint(args);
    PrintUsage();
    return UsageError("unknown command " + command);
}
