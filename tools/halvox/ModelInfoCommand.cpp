// halvox model-info: what a model file holds, read with the engine's own readers. Background and
// recording models carry no sizes of their own; their codebook size is derived from the file length
// for the default dimension (20) and state count (5).
#include <cstdio>
#include <fstream>
#include <iterator>

#include "Commands.h"
#include "ModelFiles.h"
#include "ToolSupport.h"

namespace halvox::tool {

namespace {

constexpr int kDim = 20;
constexpr int kStates = 5;

enum class Kind
{
    User,
    Background,
    Recording,
    Vocabulary
};

Kind GuessKind(const std::string& path)
{
    const std::string name = path.substr(path.find_last_of('/') + 1);
    if (name.find("iwr") != std::string::npos)
        return Kind::Vocabulary;
    if (name.find("copy.bin") != std::string::npos)
        return Kind::Recording;
    if (name.size() >= 6
        && (name.compare(name.size() - 6, 6, "_m.bin") == 0 || name.compare(name.size() - 6, 6, "_f.bin") == 0))
        return Kind::Background;
    return Kind::User;
}

bool ReadBytes(const std::string& path, std::vector<uint8_t>* bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

int32_t Int32At(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<int32_t>(
        b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24));
}

int16_t Int16At(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<int16_t>(b[at] | (b[at + 1] << 8));
}

void PrintCommonHeader(const std::vector<uint8_t>& bytes)
{
    std::printf("file size: %zu bytes\n", bytes.size());
    if (bytes.size() < 18) {
        std::printf("header: too short\n");
        return;
    }
    std::printf("magic: \"%.6s\"\n", reinterpret_cast<const char*>(bytes.data()));
    std::printf("header length: %d\n", Int32At(bytes, 6));
    std::printf("body length field: %d\n", Int32At(bytes, 10));
    std::printf("version: %d.%d\n", Int16At(bytes, 14), Int16At(bytes, 16));
}

int PrintUser(const std::string& path)
{
    UserModel model;
    ModelFileError error = ReadUserModel(path, &model);
    if (error != ModelFileError::None) {
        std::fprintf(stderr, "halvox: %s: %s\n", path.c_str(),
            error == ModelFileError::FormatError ? "not a user model (format error)" : "cannot open");
        return kExitError;
    }
    std::printf("kind: user model\n");
    std::printf(
        "user: %s\nword text: %s\nword code: %s\n", model.userId.c_str(), model.wordText.c_str(), model.code.c_str());
    std::printf("flags: 0x%02X (%s, noise mode bits %d)\n", model.flags, (model.flags & 0x20) ? "male" : "female",
        model.flags & 0x03);
    std::printf("dimension: %d\nuser codewords: %d\nstates: %d\n", model.dim, model.codebookSize, model.states);
    std::printf("trained ratio: %f\n", model.trainedRatio);
    return kExitOk;
}

int PrintCodebook(const std::string& path, const std::vector<uint8_t>& bytes, bool withMean)
{
    const int32_t headerLength = bytes.size() >= 10 ? Int32At(bytes, 6) : -1;
    const long long bodyBytes = static_cast<long long>(bytes.size()) - 14 - headerLength;
    const long long floats = bodyBytes / 4;
    const long long fixed = (withMean ? kDim : 0) + kStates + kStates * kStates;
    const long long perCodeword = kDim + 1 + kStates;
    if (headerLength < 0 || bodyBytes < 0 || floats <= fixed || (floats - fixed) % perCodeword != 0) {
        std::fprintf(stderr, "halvox: %s: body does not fit a %s model of dimension %d and %d states\n", path.c_str(),
            withMean ? "background" : "recording", kDim, kStates);
        return kExitError;
    }
    const int size = static_cast<int>((floats - fixed) / perCodeword);
    CodebookModel model;
    if (ReadCodebookModel(path, withMean, kDim, size, kStates, size, &model) != ModelFileError::None) {
        std::fprintf(stderr, "halvox: %s: cannot read\n", path.c_str());
        return kExitError;
    }
    std::printf("kind: %s model\n", withMean ? "background" : "recording");
    std::printf("dimension: %d\ncodewords: %d\nstates: %d\n", kDim, size, kStates);
    return kExitOk;
}

int PrintVocabulary(const std::string& path)
{
    VocabularyModel model;
    if (ReadVocabularyModel(path, &model) != ModelFileError::None) {
        std::fprintf(stderr, "halvox: %s: cannot read as a vocabulary file\n", path.c_str());
        return kExitError;
    }
    std::printf("kind: vocabulary model\n");
    std::printf("dimension: %d\ncodewords: %d\nstates: %d\nwords: %zu\n", model.dim, model.codebookSize, model.states,
        model.labels.size());
    for (size_t g = 0; g < model.labels.size(); ++g)
        std::printf("  word %zu: %s\n", g, model.labels[g].c_str());
    return kExitOk;
}

} // namespace

int RunModelInfo(const Arguments& args)
{
    bool user = false;
    bool background = false;
    bool recording = false;
    bool vocabulary = false;
    std::vector<std::string> files;
    std::string error;
    if (!tools::ArgumentParser()
             .Switch("user", &user)
             .Switch("background", &background)
             .Switch("recording", &recording)
             .Switch("vocabulary", &vocabulary)
             .Operands(&files)
             .Parse(args, error))
        return UsageError(error);
    if (files.size() != 1)
        return UsageError("model-info needs one model file");
    const std::string& path = files[0];
    std::vector<uint8_t> bytes;
    if (!ReadBytes(path, &bytes))
        return UsageError("cannot open " + path);

    Kind kind = GuessKind(path);
    if (user)
        kind = Kind::User;
    else if (background)
        kind = Kind::Background;
    else if (recording)
        kind = Kind::Recording;
    else if (vocabulary)
        kind = Kind::Vocabulary;

    PrintCommonHeader(bytes);
    switch (kind) {
    case Kind::User:
        return PrintUser(path);
    case Kind::Background:
        return PrintCodebook(path, bytes, true);
    case Kind::Recording:
        return PrintCodebook(path, bytes, false);
    case Kind::Vocabulary:
        return PrintVocabulary(path);
    }
    return kExitError;
}

} // namespace halvox::tool
