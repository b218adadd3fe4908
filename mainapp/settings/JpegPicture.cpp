#include "settings/JpegPicture.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace deskwarden::settings {

namespace {

// A skin's preview is a few hundred pixels wide; a header claiming more is not worth the memory.
constexpr std::size_t kMaxPixels = 16u * 1024u * 1024u;

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back here.
struct ErrorJump
{
    jpeg_error_mgr manager;
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
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
bool DecodeOpenFile(std::FILE* file, RgbPicture& picture, std::string& error)
{
    jpeg_decompress_struct info {};
    ErrorJump jump {};
    info.err = jpeg_std_error(&jump.manager);
    jump.manager.error_exit = JumpBack;
    if (setjmp(jump.back) != 0) {
        jpeg_destroy_decompress(&info);
        error = jump.message;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (static_cast<std::size_t>(info.output_width) * info.output_height > kMaxPixels) {
        jpeg_destroy_decompress(&info);
        error = "the picture is too large";
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

RgbPicture DecodeJpeg(const std::string& path, std::string& error) noexcept
{
    try {
        const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
        if (!file) {
            error = "cannot open " + path;
            return {};
        }
        RgbPicture picture;
        if (!DecodeOpenFile(file.get(), picture, error))
            return {};
        return picture;
    } catch (const std::exception& e) {
        error = e.what();
        return {};
    }
}

} // namespace deskwarden::settings
