#include <platform/JpegPicture.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using platform::jpeg::DecodeFile;
using platform::jpeg::JpegFailure;

constexpr std::size_t kPlenty = 64u * 1024u * 1024u;
const std::string kShippedPicture = std::string(WARDEN_SOURCE_DIR) + "/data/skin/default/normal.jpg";

TEST(JpegPicture, TheShippedSkinPictureDecodesToRgbRows)
{
    JpegFailure failure;
    const auto picture = DecodeFile(kShippedPicture, kPlenty, failure);
    ASSERT_FALSE(picture.IsEmpty()) << failure.message;
    EXPECT_EQ(failure.kind, JpegFailure::Kind::None);
    EXPECT_EQ(picture.pixels.size(), static_cast<std::size_t>(picture.width) * picture.height * 3);
}

TEST(JpegPicture, MissingDamagedAndOversizedPicturesSayWhy)
{
    JpegFailure failure;
    EXPECT_TRUE(DecodeFile("/nonexistent/normal.jpg", kPlenty, failure).IsEmpty());
    EXPECT_EQ(failure.kind, JpegFailure::Kind::CannotOpen);

    const std::string damaged = (std::filesystem::temp_directory_path() / "damaged-picture.jpg").string();
    std::ofstream(damaged, std::ios::binary) << "\xFF\xD8\xFF\xE0 not a picture";
    failure = {};
    EXPECT_TRUE(DecodeFile(damaged, kPlenty, failure).IsEmpty());
    std::filesystem::remove(damaged);
    EXPECT_EQ(failure.kind, JpegFailure::Kind::Damaged);
    EXPECT_FALSE(failure.message.empty()) << "libjpeg's own reason is kept";

    failure = {};
    EXPECT_TRUE(DecodeFile(kShippedPicture, 100, failure).IsEmpty());
    EXPECT_EQ(failure.kind, JpegFailure::Kind::TooLarge);
}

} // namespace
