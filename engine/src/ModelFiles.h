#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace halvox {

/**
 * Result of a model file operation. Unreadable user models are FormatError; unreadable background,
 * recording and vocabulary files are CannotOpen (their magic is not checked, so a damaged one looks
 * like a missing one). InvalidModel: the record handed to a writer is inconsistent; nothing was written.
 */
enum class ModelFileError
{
    None,
    CannotOpen,
    FormatError,
    CannotCreate,
    InvalidModel
};

inline constexpr int16_t kModelVersionMajor = 3;
inline constexpr int16_t kModelVersionMinor = 7;
/** Word codes are exactly this long in every file and path. */
inline constexpr int kWordCodeLength = 3;
/** No model file of the engine comes near this; larger files are refused rather than loaded. */
inline constexpr std::size_t kMaxModelFileBytes = 64u << 20;

/** A user's word model: header fields, then the body in file order. */
struct UserModel
{
    // Header. headerLength and bodyLength are what a reader found; writers compute their own.
    int32_t headerLength = 0;
    int32_t bodyLength = 0;
    int16_t versionMajor = kModelVersionMajor;
    int16_t versionMinor = kModelVersionMinor;
    std::string userId;
    std::string wordText;
    std::string code; ///< written as exactly 3 bytes (NUL-padded); read up to its first NUL
    uint8_t flags = 0x0C;
    uint8_t byte1 = 1;
    int dim = 0; ///< D
    int codebookSize = 0; ///< K_u
    int states = 0; ///< N

    // Body.
    std::vector<float> auxMean; ///< D
    std::vector<float> codewords; ///< K_u x D
    std::vector<float> weights; ///< K_u
    std::vector<float> dimensionWeights; ///< D
    std::vector<float> pi; ///< N
    std::vector<float> a; ///< N x N
    std::vector<float> b; ///< N x K_u
    std::vector<float> discrimination; ///< K_u
    float trainedRatio = 0.0f;
};

/** Background (with mean) or recording (mean empty) model of one word. */
struct CodebookModel
{
    int dim = 0;
    int codebookSize = 0;
    int states = 0;
    int symbols = 0;
    std::vector<float> mean; ///< dim, or empty for a recording model
    std::vector<float> codewords; ///< codebookSize x dim
    std::vector<float> weights; ///< codebookSize
    std::vector<float> pi; ///< states
    std::vector<float> a; ///< states x states
    std::vector<float> b; ///< states x symbols
};

/** One word's HMM in a vocabulary file. */
struct VocabularyWord
{
    std::vector<float> pi; ///< states
    std::vector<float> a; ///< states x states
    std::vector<float> b; ///< states x codebookSize
};

/** The word recogniser's file: one shared codebook, one labelled HMM per word. */
struct VocabularyModel
{
    std::vector<std::string> labels; ///< at most 255 bytes each; labels.size() == words.size()
    int dim = 0;
    int codebookSize = 0;
    int states = 0;
    std::vector<float> codewords; ///< codebookSize x dim
    std::vector<float> weights; ///< codebookSize
    std::vector<VocabularyWord> words;
};

/** Flags byte of a user model header: 0x0C, plus 0x20 for a male model, 0x01/0x02 for noise mode 1/2. */
uint8_t UserModelFlags(bool male, int noiseMode);

/** headerLength a writer stores for this model: the header bytes after offset 14. */
int32_t UserModelHeaderLength(const UserModel& model);

/** bodyLength a writer stores: a fixed function of the sizes (not the body's real length). */
int32_t UserModelBodyLength(int dim, int codebookSize, int states);

// In-memory forms; the file functions below are these plus one read or one replace of the file.
std::vector<uint8_t> SerialiseUserModel(const UserModel& model);
ModelFileError ParseUserModel(const std::vector<uint8_t>& bytes, bool headerOnly, UserModel* model);
std::vector<uint8_t> SerialiseCodebookModel(const CodebookModel& model);
ModelFileError ParseCodebookModel(
    const std::vector<uint8_t>& bytes, bool withMean, int dim, int size, int states, int symbols, CodebookModel* model);
std::vector<uint8_t> SerialiseVocabularyModel(const VocabularyModel& model);
ModelFileError ParseVocabularyModel(const std::vector<uint8_t>& bytes, VocabularyModel* model);

/** True when the vectors match the sizes and the texts fit their length fields. */
bool IsWritable(const UserModel& model);
bool IsWritable(const CodebookModel& model);
bool IsWritable(const VocabularyModel& model);

/**
 * Writes a user model (version 3.7, lengths computed). CannotCreate when the file cannot be written
 * (a missing folder included; no folder is created); the previous file then stays as it was.
 */
ModelFileError WriteUserModel(const std::string& path, const UserModel& model);

/** Reads header and body. CannotOpen, or FormatError for a wrong magic or a file shorter than its layout. */
ModelFileError ReadUserModel(const std::string& path, UserModel* model);

/** Reads the header only (versions, texts, sizes); the body need not be present. */
ModelFileError ReadUserModelHeader(const std::string& path, UserModel* model);

/**
 * Reads a background (withMean) or recording model with the sizes the caller expects. The header is
 * skipped unread. CannotOpen when the file is missing or shorter than its layout, or a size is < 1.
 */
ModelFileError ReadCodebookModel(
    const std::string& path, bool withMean, int dim, int size, int states, int symbols, CodebookModel* model);

/** Writes a background or recording model with the two version fields as its header (headerLength 4). */
ModelFileError WriteCodebookModel(const std::string& path, const CodebookModel& model);

/** Reads a vocabulary file completely; CannotOpen when missing, shorter than its layout or inconsistent. */
ModelFileError ReadVocabularyModel(const std::string& path, VocabularyModel* model);

ModelFileError WriteVocabularyModel(const std::string& path, const VocabularyModel& model);

} // namespace halvox
