#include "JpegPicture.h"

#include "BoundaryGuard.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace platform::jpeg {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to the
// decoder's set-up point, which then frees the decompressor.
struct ErrorJump
{
    jpeg_error_mgr manager {};
    std::jmp_buf back {};
    char message[JMSG_LENGTH_MAX] = {};
};

void JumpBack(j_common_ptr info)
{
    auto* jump = reinterpret_cast<ErrorJump*>(info->err);
    (*info->err->format_message)(info, jump->message);
    std::longjmp(jump->back, 1);
}

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Kept free of objects with destructors between setjmp and longjmp, which would be skipped.
bool DecodeOpenFile(std::FILE* file, std::size_t maxPixels, RgbPicture& picture, JpegFailure& failure)
{
    jpeg_decompress_struct info {};
    ErrorJump jump;
    info.err = jpeg_std_error(&jump.manager);
    jump.manager.error_exit = JumpBack;
    if (setjmp(jump.back) != 0) {
        jpeg_destroy_decompress(&info);
        failure = {JpegFailure::Kind::Damaged, jump.message};
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (static_cast<std::size_t>(info.output_width) * info.output_height > maxPixels) {
        jpeg_destroy_decompress(&info);
        failure = {JpegFailure::Kind::TooLarge, "the picture is too large"};
        return false;
    }
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    picture.pixels.resize(static_cast<std::size_t>(info.output_width) * info.output_height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.pixels.data() + static_cast<std::size_t>(info.output_scanline) * info.output_width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

RgbPicture DecodeFile(const std::string& path, std::size_t maxPixels, JpegFailure& failure) noexcept
{
    return GuardedOr(
        [&] {
            const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
            if (!file) {
                failure = {JpegFailure::Kind::CannotOpen, "cannot open " + path};
                return RgbPicture {};
            }
            RgbPicture picture;
            if (!DecodeOpenFile(file.get(), maxPixels, picture, failure))
                return RgbPicture {};
            return picture;
        },
        [&] {
            failure = {JpegFailure::Kind::TooLarge, CurrentExceptionText()};
            return RgbPicture {};
        });
}

} // namespace platform::jpeg
