#include "ModelFiles.h"

#include <limits>
#include <string_view>

#include "BinaryFile.h"
#include "ByteReader.h"
#include "ByteWriter.h"

namespace halvox {

namespace {

constexpr std::string_view kMagic = "SLfmt ";
constexpr int kCommonHeaderBytes = 14; // magic, headerLength, bodyLength
constexpr int kVersionBytes = 4;
// Bytes of the user model header after the two texts: code, flags, byte 1 and five int16.
constexpr int kUserHeaderFixedBytes = kWordCodeLength + 1 + 1 + 5 * 2;
constexpr int kLargestLabelBytes = 255;
constexpr int64_t kLargestInt16 = std::numeric_limits<int16_t>::max();
constexpr int64_t kLargestInt32 = std::numeric_limits<int32_t>::max();
constexpr uint8_t kFlagsAlways = 0x0C;
constexpr uint8_t kFlagMale = 0x20;
constexpr uint8_t kFlagNoiseMode1 = 0x01;
constexpr uint8_t kFlagNoiseMode2 = 0x02;

bool IsStorableSize(int value)
{
    return value >= 1 && value <= kLargestInt16;
}

bool HasSize(const std::vector<float>& values, int64_t count)
{
    return static_cast<int64_t>(values.size()) == count;
}

std::string WordCodeBytes(const std::string& code)
{
    std::string bytes = code.substr(0, kWordCodeLength);
    bytes.resize(kWordCodeLength, '\0');
    return bytes;
}

std::string UpToFirstNul(const std::string& bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

void WriteCommonHeader(ByteWriter* out, int64_t headerLength, int64_t bodyLength, int16_t major = kModelVersionMajor,
    int16_t minor = kModelVersionMinor)
{
    out->WriteBytes(kMagic);
    out->WriteI32(static_cast<int32_t>(headerLength));
    out->WriteI32(static_cast<int32_t>(bodyLength));
    out->WriteI16(major);
    out->WriteI16(minor);
}

void WriteHmm(ByteWriter* out, const std::vector<float>& pi, const std::vector<float>& a, const std::vector<float>& b)
{
    out->WriteFloats(pi);
    out->WriteFloats(a);
    out->WriteFloats(b);
}

bool ReadHmm(
    ByteReader* in, int states, int symbols, std::vector<float>* pi, std::vector<float>* a, std::vector<float>* b)
{
    const int64_t n = states;
    return in->ReadFloats(n, pi) && in->ReadFloats(n * n, a) && in->ReadFloats(n * symbols, b);
}

bool ReadUserModelBody(ByteReader* in, UserModel* model)
{
    const int64_t d = model->dim;
    const int64_t k = model->codebookSize;
    std::vector<float> ratio;
    const bool read = in->ReadFloats(d, &model->auxMean) && in->ReadFloats(k * d, &model->codewords)
        && in->ReadFloats(k, &model->weights) && in->ReadFloats(d, &model->dimensionWeights)
        && ReadHmm(in, model->states, model->codebookSize, &model->pi, &model->a, &model->b)
        && in->ReadFloats(k, &model->discrimination) && in->ReadFloats(1, &ratio);
    if (read)
        model->trainedRatio = ratio[0];
    return read;
}

int64_t VocabularyHeaderLength(const VocabularyModel& model)
{
    int64_t length = kVersionBytes + 2 + 2 * static_cast<int64_t>(model.labels.size()) + 2 + 5 * 2;
    for (const std::string& label : model.labels)
        length += static_cast<int64_t>(label.size());
    return length;
}

ModelFileError ReadWith(const std::string& path, ModelFileError unreadable,
    const auto& parse) // parse(bytes) -> ModelFileError
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, kMaxModelFileBytes, &bytes))
        return ModelFileError::CannotOpen;
    const ModelFileError result = parse(bytes);
    return result == ModelFileError::None ? result : unreadable;
}

ModelFileError WriteBytes(const std::string& path, bool writable, const auto& serialise)
{
    if (!writable)
        return ModelFileError::InvalidModel;
    return ReplaceFileContents(path, serialise()) ? ModelFileError::None : ModelFileError::CannotCreate;
}

} // namespace

uint8_t UserModelFlags(bool male, int noiseMode)
{
    uint8_t flags = kFlagsAlways;
    if (male)
        flags |= kFlagMale;
    if (noiseMode == 1)
        flags |= kFlagNoiseMode1;
    if (noiseMode == 2)
        flags |= kFlagNoiseMode2;
    return flags;
}

int32_t UserModelHeaderLength(const UserModel& model)
{
    return static_cast<int32_t>(
        kVersionBytes + 2 + model.userId.size() + 2 + model.wordText.size() + kUserHeaderFixedBytes);
}

int32_t UserModelBodyLength(int dim, int codebookSize, int states)
{
    const int64_t d = dim;
    const int64_t k = codebookSize;
    const int64_t n = states;
    return static_cast<int32_t>(((d + 2) * k + d + n * (k + n + 1)) * 4 + 8);
}

bool IsWritable(const UserModel& model)
{
    const int64_t d = model.dim;
    const int64_t k = model.codebookSize;
    const int64_t n = model.states;
    if (!IsStorableSize(model.dim) || !IsStorableSize(model.codebookSize) || !IsStorableSize(model.states)
        || static_cast<int64_t>(model.userId.size()) > kLargestInt16
        || static_cast<int64_t>(model.wordText.size()) > kLargestInt16)
        return false;
    // The stored bodyLength must fit its int32 field (it does for every size the engine uses).
    if (((d + 2) * k + d + n * (k + n + 1)) * 4 + 8 > kLargestInt32)
        return false;
    return HasSize(model.auxMean, d) && HasSize(model.codewords, k * d) && HasSize(model.weights, k)
        && HasSize(model.dimensionWeights, d) && HasSize(model.pi, n) && HasSize(model.a, n * n)
        && HasSize(model.b, n * k) && HasSize(model.discrimination, k);
}

std::vector<uint8_t> SerialiseUserModel(const UserModel& model)
{
    ByteWriter out;
    WriteCommonHeader(
        &out, UserModelHeaderLength(model), UserModelBodyLength(model.dim, model.codebookSize, model.states));
    out.WriteI16(static_cast<int16_t>(model.userId.size()));
    out.WriteBytes(model.userId);
    out.WriteI16(static_cast<int16_t>(model.wordText.size()));
    out.WriteBytes(model.wordText);
    out.WriteBytes(WordCodeBytes(model.code));
    out.WriteU8(model.flags);
    out.WriteU8(model.byte1);
    out.WriteI16(static_cast<int16_t>(model.dim));
    out.WriteI16(static_cast<int16_t>(model.codebookSize));
    out.WriteI16(static_cast<int16_t>(model.states));
    out.WriteI16(0);
    out.WriteI16(0);
    out.WriteFloats(model.auxMean);
    out.WriteFloats(model.codewords);
    out.WriteFloats(model.weights);
    out.WriteFloats(model.dimensionWeights);
    WriteHmm(&out, model.pi, model.a, model.b);
    out.WriteFloats(model.discrimination);
    out.WriteFloats({model.trainedRatio});
    return out.Bytes();
}

ModelFileError ParseUserModel(const std::vector<uint8_t>& bytes, bool headerOnly, UserModel* model)
{
    ByteReader in(bytes.data(), bytes.size());
    std::string magic;
    if (!in.ReadBytes(static_cast<int64_t>(kMagic.size()), &magic) || magic != kMagic)
        return ModelFileError::FormatError;
    UserModel result;
    int16_t idLength = 0;
    int16_t textLength = 0;
    std::string code;
    int16_t dim = 0;
    int16_t codebookSize = 0;
    int16_t states = 0;
    int16_t reserved = 0;
    in.ReadI32(&result.headerLength);
    in.ReadI32(&result.bodyLength);
    in.ReadI16(&result.versionMajor);
    in.ReadI16(&result.versionMinor);
    in.ReadI16(&idLength);
    in.ReadBytes(idLength, &result.userId); // a negative length fails the reader
    in.ReadI16(&textLength);
    in.ReadBytes(textLength, &result.wordText);
    in.ReadBytes(kWordCodeLength, &code);
    in.ReadU8(&result.flags);
    in.ReadU8(&result.byte1);
    in.ReadI16(&dim);
    in.ReadI16(&codebookSize);
    in.ReadI16(&states);
    in.ReadI16(&reserved);
    in.ReadI16(&reserved);
    if (!in.Ok())
        return ModelFileError::FormatError;
    result.code = UpToFirstNul(code);
    result.dim = dim;
    result.codebookSize = codebookSize;
    result.states = states;
    if (!headerOnly && (dim < 1 || codebookSize < 1 || states < 1 || !ReadUserModelBody(&in, &result)))
        return ModelFileError::FormatError;
    *model = std::move(result);
    return ModelFileError::None;
}

bool IsWritable(const CodebookModel& model)
{
    const int64_t d = model.dim;
    const int64_t k = model.codebookSize;
    const int64_t n = model.states;
    return d >= 1 && k >= 1 && n >= 1 && model.symbols >= 1 && (model.mean.empty() || HasSize(model.mean, d))
        && HasSize(model.codewords, k * d) && HasSize(model.weights, k) && HasSize(model.pi, n)
        && HasSize(model.a, n * n) && HasSize(model.b, n * model.symbols);
}

std::vector<uint8_t> SerialiseCodebookModel(const CodebookModel& model)
{
    const std::size_t floats = model.mean.size() + model.codewords.size() + model.weights.size() + model.pi.size()
        + model.a.size() + model.b.size();
    ByteWriter out;
    WriteCommonHeader(&out, kVersionBytes, static_cast<int64_t>(floats) * 4);
    out.WriteFloats(model.mean);
    out.WriteFloats(model.codewords);
    out.WriteFloats(model.weights);
    WriteHmm(&out, model.pi, model.a, model.b);
    return out.Bytes();
}

ModelFileError ParseCodebookModel(
    const std::vector<uint8_t>& bytes, bool withMean, int dim, int size, int states, int symbols, CodebookModel* model)
{
    if (dim < 1 || size < 1 || states < 1 || symbols < 1)
        return ModelFileError::CannotOpen;
    ByteReader in(bytes.data(), bytes.size());
    int32_t headerLength = 0;
    int32_t bodyLength = 0;
    in.Skip(static_cast<int64_t>(kMagic.size())); // not checked for these kinds
    in.ReadI32(&headerLength);
    in.ReadI32(&bodyLength);
    in.Skip(headerLength);
    CodebookModel result;
    result.dim = dim;
    result.codebookSize = size;
    result.states = states;
    result.symbols = symbols;
    if (withMean)
        in.ReadFloats(dim, &result.mean);
    in.ReadFloats(static_cast<int64_t>(size) * dim, &result.codewords);
    in.ReadFloats(size, &result.weights);
    ReadHmm(&in, states, symbols, &result.pi, &result.a, &result.b);
    if (!in.Ok())
        return ModelFileError::CannotOpen;
    *model = std::move(result);
    return ModelFileError::None;
}

bool IsWritable(const VocabularyModel& model)
{
    const int64_t d = model.dim;
    const int64_t k = model.codebookSize;
    const int64_t n = model.states;
    if (!IsStorableSize(model.dim) || !IsStorableSize(model.codebookSize) || !IsStorableSize(model.states)
        || static_cast<int64_t>(model.labels.size()) > kLargestInt16 || model.labels.size() != model.words.size())
        return false;
    for (const std::string& label : model.labels)
        if (label.size() > kLargestLabelBytes)
            return false;
    for (const VocabularyWord& word : model.words)
        if (!HasSize(word.pi, n) || !HasSize(word.a, n * n) || !HasSize(word.b, n * k))
            return false;
    return HasSize(model.codewords, k * d) && HasSize(model.weights, k);
}

std::vector<uint8_t> SerialiseVocabularyModel(const VocabularyModel& model)
{
    const int64_t n = model.states;
    const int64_t floats = static_cast<int64_t>(model.codewords.size() + model.weights.size())
        + static_cast<int64_t>(model.words.size()) * (n + n * n + n * model.codebookSize);
    ByteWriter out;
    // The vocabulary file's two short fields have always held 1 and 0; readers ignore them.
    WriteCommonHeader(&out, VocabularyHeaderLength(model), floats * 4, 1, 0);
    out.WriteI16(static_cast<int16_t>(model.labels.size()));
    for (const std::string& label : model.labels)
        out.WriteI16(static_cast<int16_t>(label.size()));
    for (const std::string& label : model.labels)
        out.WriteBytes(label);
    out.WriteU8(0);
    out.WriteU8(0);
    out.WriteI16(static_cast<int16_t>(model.dim));
    out.WriteI16(static_cast<int16_t>(model.codebookSize));
    out.WriteI16(static_cast<int16_t>(model.states));
    out.WriteI16(0);
    out.WriteI16(0);
    out.WriteFloats(model.codewords);
    out.WriteFloats(model.weights);
    for (const VocabularyWord& word : model.words)
        WriteHmm(&out, word.pi, word.a, word.b);
    return out.Bytes();
}

ModelFileError ParseVocabularyModel(const std::vector<uint8_t>& bytes, VocabularyModel* model)
{
    ByteReader in(bytes.data(), bytes.size());
    int32_t unused32 = 0;
    int16_t unused16 = 0;
    int16_t wordCount = 0;
    in.Skip(static_cast<int64_t>(kMagic.size()));
    in.ReadI32(&unused32);
    in.ReadI32(&unused32);
    in.ReadI16(&unused16);
    in.ReadI16(&unused16);
    in.ReadI16(&wordCount);
    if (!in.Ok() || wordCount < 0)
        return ModelFileError::CannotOpen;
    std::vector<int16_t> labelLengths(static_cast<std::size_t>(wordCount));
    for (int16_t& length : labelLengths)
        in.ReadI16(&length);
    VocabularyModel result;
    result.labels.resize(labelLengths.size());
    for (std::size_t g = 0; g < labelLengths.size(); ++g) {
        if (labelLengths[g] > kLargestLabelBytes)
            return ModelFileError::CannotOpen;
        in.ReadBytes(labelLengths[g], &result.labels[g]);
    }
    uint8_t unusedByte = 0;
    int16_t dim = 0;
    int16_t codebookSize = 0;
    int16_t states = 0;
    in.ReadU8(&unusedByte);
    in.ReadU8(&unusedByte);
    in.ReadI16(&dim);
    in.ReadI16(&codebookSize);
    in.ReadI16(&states);
    in.ReadI16(&unused16);
    in.ReadI16(&unused16);
    if (!in.Ok() || dim < 1 || codebookSize < 1 || states < 1)
        return ModelFileError::CannotOpen;
    result.dim = dim;
    result.codebookSize = codebookSize;
    result.states = states;
    in.ReadFloats(static_cast<int64_t>(codebookSize) * dim, &result.codewords);
    in.ReadFloats(codebookSize, &result.weights);
    result.words.resize(labelLengths.size());
    for (VocabularyWord& word : result.words)
        if (!ReadHmm(&in, states, codebookSize, &word.pi, &word.a, &word.b))
            break;
    if (!in.Ok())
        return ModelFileError::CannotOpen;
    *model = std::move(result);
    return ModelFileError::None;
}

ModelFileError WriteUserModel(const std::string& path, const UserModel& model)
{
    return WriteBytes(path, IsWritable(model), [&] { return SerialiseUserModel(model); });
}

ModelFileError ReadUserModel(const std::string& path, UserModel* model)
{
    return ReadWith(path, ModelFileError::FormatError,
        [&](const std::vector<uint8_t>& bytes) { return ParseUserModel(bytes, false, model); });
}

ModelFileError ReadUserModelHeader(const std::string& path, UserModel* model)
{
    return ReadWith(path, ModelFileError::FormatError,
        [&](const std::vector<uint8_t>& bytes) { return ParseUserModel(bytes, true, model); });
}

ModelFileError ReadCodebookModel(
    const std::string& path, bool withMean, int dim, int size, int states, int symbols, CodebookModel* model)
{
    return ReadWith(path, ModelFileError::CannotOpen, [&](const std::vector<uint8_t>& bytes) {
        return ParseCodebookModel(bytes, withMean, dim, size, states, symbols, model);
    });
}

ModelFileError WriteCodebookModel(const std::string& path, const CodebookModel& model)
{
    return WriteBytes(path, IsWritable(model), [&] { return SerialiseCodebookModel(model); });
}

ModelFileError ReadVocabularyModel(const std::string& path, VocabularyModel* model)
{
    return ReadWith(path, ModelFileError::CannotOpen,
        [&](const std::vector<uint8_t>& bytes) { return ParseVocabularyModel(bytes, model); });
}

ModelFileError WriteVocabularyModel(const std::string& path, const VocabularyModel& model)
{
    return WriteBytes(path, IsWritable(model), [&] { return SerialiseVocabularyModel(model); });
}

} // namespace halvox
