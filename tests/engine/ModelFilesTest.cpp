#include "ModelFiles.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace halvox {
namespace {

namespace fs = std::filesystem;

std::vector<float> Ramp(std::size_t count, float start)
{
    std::vector<float> values(count);
    std::iota(values.begin(), values.end(), start);
    return values;
}

UserModel MakeUserModel(int dim, int codebookSize, int states)
{
    const auto d = static_cast<std::size_t>(dim);
    const auto k = static_cast<std::size_t>(codebookSize);
    const auto n = static_cast<std::size_t>(states);
    UserModel model;
    model.userId = "ab";
    model.wordText = "veskaloriman";
    model.code = "aaj";
    model.flags = UserModelFlags(true, 1);
    model.dim = dim;
    model.codebookSize = codebookSize;
    model.states = states;
    model.auxMean = Ramp(d, 0.5f);
    model.codewords = Ramp(k * d, -3.25f);
    model.weights = Ramp(k, 1.5f);
    model.dimensionWeights = Ramp(d, 2.0f);
    model.pi = Ramp(n, 0.125f);
    model.a = Ramp(n * n, 0.25f);
    model.b = Ramp(n * k, 0.0625f);
    model.discrimination = Ramp(k, 0.75f);
    model.trainedRatio = 0.8125f;
    return model;
}

CodebookModel MakeCodebookModel(bool withMean)
{
    CodebookModel model;
    model.dim = 3;
    model.codebookSize = 4;
    model.states = 2;
    model.symbols = 4;
    if (withMean)
        model.mean = Ramp(3, 9.0f);
    model.codewords = Ramp(12, -1.0f);
    model.weights = Ramp(4, 0.5f);
    model.pi = Ramp(2, 0.25f);
    model.a = Ramp(4, 0.125f);
    model.b = Ramp(8, 0.0625f);
    return model;
}

VocabularyModel MakeVocabularyModel(int words)
{
    VocabularyModel model;
    model.dim = 2;
    model.codebookSize = 3;
    model.states = 2;
    model.codewords = Ramp(6, 1.0f);
    model.weights = Ramp(3, 0.5f);
    for (int g = 0; g < words; ++g) {
        model.labels.push_back(std::string("word") + std::to_string(g));
        model.words.push_back({Ramp(2, 0.1f * g), Ramp(4, 0.2f), Ramp(6, 0.3f)});
    }
    return model;
}

int32_t ReadInt32At(const std::vector<uint8_t>& bytes, std::size_t offset)
{
    int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4); // the test machine is little-endian like the files
    return value;
}

float ReadFloatAt(const std::vector<uint8_t>& bytes, std::size_t offset)
{
    float value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

class ModelFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::path(ENGINE_TEST_BINARY_DIR) / "model_files" / info->name();
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }

    std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }

    static std::vector<uint8_t> FileBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    fs::path m_folder;
};

TEST_F(ModelFilesTest, UserModelHeaderLengthPlacesTheBodyAtByte51)
{
    const UserModel model = MakeUserModel(20, 3, 5);
    const std::vector<uint8_t> bytes = SerialiseUserModel(model);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "SLfmt ");
    EXPECT_EQ(ReadInt32At(bytes, 6), 37);
    EXPECT_EQ(bytes[14], 3);
    EXPECT_EQ(bytes[16], 7);
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 39), "aaj");
    EXPECT_EQ(bytes[39], 0x2D);
    EXPECT_EQ(bytes[40], 1);
    EXPECT_EQ(ReadFloatAt(bytes, 51), model.auxMean[0]);
    EXPECT_EQ(bytes.size(), 51u + (71u + 27u * 3u) * 4u);
}

TEST_F(ModelFilesTest, BodyLengthFieldIsTheFixedFormulaNotTheBodySize)
{
    const UserModel model = MakeUserModel(20, 100, 5);
    ASSERT_EQ(WriteUserModel(PathOf("aaj.bin"), model), ModelFileError::None);
    const std::vector<uint8_t> bytes = FileBytes(PathOf("aaj.bin"));
    EXPECT_EQ(ReadInt32At(bytes, 10), 11008);
    EXPECT_EQ(UserModelBodyLength(20, 100, 5), 11008);
    EXPECT_EQ(bytes.size(), 51u + 11084u);
}

struct FlagsCase
{
    bool male;
    int noiseMode;
    uint8_t flags;
};

class UserModelFlagsTest : public ::testing::TestWithParam<FlagsCase>
{
};

TEST_P(UserModelFlagsTest, CombinesGenderAndNoiseMode)
{
    EXPECT_EQ(UserModelFlags(GetParam().male, GetParam().noiseMode), GetParam().flags);
}

INSTANTIATE_TEST_SUITE_P(Flags, UserModelFlagsTest,
    ::testing::Values(FlagsCase {true, 1, 0x2D}, FlagsCase {false, 1, 0x0D}, FlagsCase {true, 0, 0x2C},
        FlagsCase {false, 0, 0x0C}, FlagsCase {false, 2, 0x0E}, FlagsCase {true, 3, 0x2C}));

TEST_F(ModelFilesTest, UserModelRoundTripIsByteExact)
{
    const UserModel model = MakeUserModel(20, 7, 5);
    ASSERT_EQ(WriteUserModel(PathOf("first.bin"), model), ModelFileError::None);
    UserModel read;
    ASSERT_EQ(ReadUserModel(PathOf("first.bin"), &read), ModelFileError::None);
    EXPECT_EQ(read.headerLength, 37);
    EXPECT_EQ(read.bodyLength, UserModelBodyLength(20, 7, 5));
    EXPECT_EQ(read.versionMajor, 3);
    EXPECT_EQ(read.versionMinor, 7);
    EXPECT_EQ(read.userId, "ab");
    EXPECT_EQ(read.wordText, "veskaloriman");
    EXPECT_EQ(read.code, "aaj");
    EXPECT_EQ(read.flags, 0x2D);
    EXPECT_EQ(read.b, model.b);
    EXPECT_EQ(read.discrimination, model.discrimination);
    EXPECT_EQ(read.trainedRatio, model.trainedRatio);
    ASSERT_EQ(WriteUserModel(PathOf("second.bin"), read), ModelFileError::None);
    EXPECT_EQ(FileBytes(PathOf("first.bin")), FileBytes(PathOf("second.bin")));
}

TEST_F(ModelFilesTest, UserModelWithBadMagicIsAFormatError)
{
    std::vector<uint8_t> bytes = SerialiseUserModel(MakeUserModel(4, 2, 2));
    UserModel read;
    bytes[5] = '_';
    EXPECT_EQ(ParseUserModel(bytes, false, &read), ModelFileError::FormatError);
    WriteFile(PathOf("bad.bin"), bytes);
    EXPECT_EQ(ReadUserModel(PathOf("bad.bin"), &read), ModelFileError::FormatError);
    EXPECT_EQ(ReadUserModelHeader(PathOf("bad.bin"), &read), ModelFileError::FormatError);
    EXPECT_EQ(ReadUserModel(PathOf("missing.bin"), &read), ModelFileError::CannotOpen);
}

TEST_F(ModelFilesTest, UserModelTruncatedAnywhereIsRefused)
{
    const std::vector<uint8_t> bytes = SerialiseUserModel(MakeUserModel(4, 3, 2));
    constexpr std::size_t headerEnd = 14 + 37; // the header alone is readable from here on
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        UserModel read;
        read.userId = "untouched";
        ASSERT_EQ(ParseUserModel(part, false, &read), ModelFileError::FormatError) << size;
        EXPECT_EQ(read.userId, "untouched");
        const ModelFileError header = ParseUserModel(part, true, &read);
        EXPECT_EQ(header, size >= headerEnd ? ModelFileError::None : ModelFileError::FormatError) << size;
    }
    WriteFile(PathOf("short.bin"), std::vector<uint8_t>(bytes.begin(), bytes.end() - 1));
    UserModel read;
    EXPECT_EQ(ReadUserModel(PathOf("short.bin"), &read), ModelFileError::FormatError);
    EXPECT_EQ(ReadUserModelHeader(PathOf("short.bin"), &read), ModelFileError::None);
}

TEST_F(ModelFilesTest, UserModelSizesThatTheFileCannotHoldAreRefused)
{
    UserModel read;
    std::vector<uint8_t> bytes = SerialiseUserModel(MakeUserModel(4, 3, 2));
    std::vector<uint8_t> huge = bytes;
    huge[41] = 0xff; // D = 0x7fff
    huge[42] = 0x7f;
    huge[43] = 0xff; // K_u = 0x7fff
    huge[44] = 0x7f;
    EXPECT_EQ(ParseUserModel(huge, false, &read), ModelFileError::FormatError);
    std::vector<uint8_t> negative = bytes;
    negative[44] = 0x80; // K_u < 0
    EXPECT_EQ(ParseUserModel(negative, false, &read), ModelFileError::FormatError);
    std::vector<uint8_t> zero = bytes;
    zero[45] = 0; // N = 0
    EXPECT_EQ(ParseUserModel(zero, false, &read), ModelFileError::FormatError);
    std::vector<uint8_t> longId = bytes;
    longId[18] = 0xf0; // idLength far beyond the file
    EXPECT_EQ(ParseUserModel(longId, true, &read), ModelFileError::FormatError);
    std::vector<uint8_t> negativeId = bytes;
    negativeId[19] = 0xff; // idLength < 0
    EXPECT_EQ(ParseUserModel(negativeId, true, &read), ModelFileError::FormatError);
}

TEST_F(ModelFilesTest, WritingCreatesNoFoldersAndRefusesInconsistentModels)
{
    const UserModel model = MakeUserModel(4, 3, 2);
    const std::string inMissingFolder = PathOf("missing/aaj.bin");
    EXPECT_EQ(WriteUserModel(inMissingFolder, model), ModelFileError::CannotCreate);
    EXPECT_FALSE(fs::exists(m_folder / "missing"));

    // A folder where the file should go: the write fails and leaves no temporary file behind.
    fs::create_directories(m_folder / "occupied.bin");
    EXPECT_EQ(WriteUserModel(PathOf("occupied.bin"), model), ModelFileError::CannotCreate);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 1);

    UserModel inconsistent = model;
    inconsistent.b.pop_back();
    EXPECT_EQ(WriteUserModel(PathOf("x.bin"), inconsistent), ModelFileError::InvalidModel);
    inconsistent = model;
    inconsistent.userId.assign(40000, 'u');
    EXPECT_EQ(WriteUserModel(PathOf("x.bin"), inconsistent), ModelFileError::InvalidModel);
    EXPECT_FALSE(fs::exists(PathOf("x.bin")));
}

TEST_F(ModelFilesTest, RewriteReplacesThePreviousModel)
{
    UserModel model = MakeUserModel(4, 3, 2);
    ASSERT_EQ(WriteUserModel(PathOf("aaj.bin"), MakeUserModel(20, 50, 5)), ModelFileError::None);
    ASSERT_EQ(WriteUserModel(PathOf("aaj.bin"), model), ModelFileError::None);
    EXPECT_EQ(FileBytes(PathOf("aaj.bin")), SerialiseUserModel(model));
}

TEST_F(ModelFilesTest, ShortWordCodesArePaddedToThreeBytes)
{
    UserModel model = MakeUserModel(4, 3, 2);
    model.code = "ab";
    const std::vector<uint8_t> bytes = SerialiseUserModel(model);
    EXPECT_EQ(ReadInt32At(bytes, 6), 37);
    UserModel read;
    ASSERT_EQ(ParseUserModel(bytes, false, &read), ModelFileError::None);
    EXPECT_EQ(read.code, "ab");
}

class CodebookModelTest : public ModelFilesTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(CodebookModelTest, RoundTripsAndSkipsAnyHeaderLength)
{
    const bool withMean = GetParam();
    const CodebookModel model = MakeCodebookModel(withMean);
    ASSERT_EQ(WriteCodebookModel(PathOf("aaj_m.bin"), model), ModelFileError::None);
    const std::vector<uint8_t> bytes = FileBytes(PathOf("aaj_m.bin"));
    EXPECT_EQ(ReadInt32At(bytes, 6), 4);
    CodebookModel read;
    ASSERT_EQ(ReadCodebookModel(PathOf("aaj_m.bin"), withMean, 3, 4, 2, 4, &read), ModelFileError::None);
    EXPECT_EQ(read.mean, model.mean);
    EXPECT_EQ(read.codewords, model.codewords);
    EXPECT_EQ(read.b, model.b);

    // A longer header of someone else's making is skipped unread.
    std::vector<uint8_t> longer(bytes.begin(), bytes.begin() + 14);
    longer[6] = 20;
    longer.insert(longer.end(), 20, 0xAB);
    longer.insert(longer.end(), bytes.begin() + 18, bytes.end());
    CodebookModel skipped;
    ASSERT_EQ(ParseCodebookModel(longer, withMean, 3, 4, 2, 4, &skipped), ModelFileError::None);
    EXPECT_EQ(skipped.weights, model.weights);
}

TEST_P(CodebookModelTest, TruncatedAnywhereOrWithBadSizesIsRefused)
{
    const bool withMean = GetParam();
    const std::vector<uint8_t> bytes = SerialiseCodebookModel(MakeCodebookModel(withMean));
    CodebookModel read;
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        ASSERT_EQ(ParseCodebookModel(part, withMean, 3, 4, 2, 4, &read), ModelFileError::CannotOpen) << size;
    }
    std::vector<uint8_t> negativeHeader = bytes;
    negativeHeader[9] = 0x80;
    EXPECT_EQ(ParseCodebookModel(negativeHeader, withMean, 3, 4, 2, 4, &read), ModelFileError::CannotOpen);
    EXPECT_EQ(ParseCodebookModel(bytes, withMean, 3, 0, 2, 4, &read), ModelFileError::CannotOpen);
    EXPECT_EQ(ParseCodebookModel(bytes, withMean, 3, 4, 2, 400000, &read), ModelFileError::CannotOpen);
    WriteFile(PathOf("short.bin"), std::vector<uint8_t>(bytes.begin(), bytes.end() - 3));
    EXPECT_EQ(ReadCodebookModel(PathOf("short.bin"), withMean, 3, 4, 2, 4, &read), ModelFileError::CannotOpen);
    EXPECT_EQ(ReadCodebookModel(PathOf("none.bin"), withMean, 3, 4, 2, 4, &read), ModelFileError::CannotOpen);
}

INSTANTIATE_TEST_SUITE_P(BackgroundAndRecording, CodebookModelTest, ::testing::Bool());

TEST_F(ModelFilesTest, VocabularyRoundTripsByteExact)
{
    for (int words : {0, 1, 6}) {
        const VocabularyModel model = MakeVocabularyModel(words);
        ASSERT_EQ(WriteVocabularyModel(PathOf("miwr.bin"), model), ModelFileError::None);
        VocabularyModel read;
        ASSERT_EQ(ReadVocabularyModel(PathOf("miwr.bin"), &read), ModelFileError::None);
        EXPECT_EQ(read.labels, model.labels);
        ASSERT_EQ(read.words.size(), static_cast<std::size_t>(words));
        if (words > 0) {
            EXPECT_EQ(read.words.back().pi, model.words.back().pi);
        }
        EXPECT_EQ(SerialiseVocabularyModel(read), FileBytes(PathOf("miwr.bin")));
    }
}

TEST_F(ModelFilesTest, VocabularyTruncatedAnywhereOrInconsistentIsRefused)
{
    const std::vector<uint8_t> bytes = SerialiseVocabularyModel(MakeVocabularyModel(2));
    VocabularyModel read;
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        ASSERT_EQ(ParseVocabularyModel(part, &read), ModelFileError::CannotOpen) << size;
    }
    std::vector<uint8_t> negativeWords = bytes;
    negativeWords[19] = 0x80;
    EXPECT_EQ(ParseVocabularyModel(negativeWords, &read), ModelFileError::CannotOpen);
    std::vector<uint8_t> longLabel = bytes;
    longLabel[20] = 0x2C; // 300 bytes
    longLabel[21] = 0x01;
    EXPECT_EQ(ParseVocabularyModel(longLabel, &read), ModelFileError::CannotOpen);

    VocabularyModel inconsistent = MakeVocabularyModel(2);
    inconsistent.labels.push_back("extra");
    EXPECT_EQ(WriteVocabularyModel(PathOf("v.bin"), inconsistent), ModelFileError::InvalidModel);
}

} // namespace
} // namespace halvox
