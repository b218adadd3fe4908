#include "lock/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace screenveil {

namespace {

constexpr const char* kFatalCaption = "JPEG Fatal Error";

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to the
// decoder's set-up point, which then frees the decompressor.
struct JumpingErrorManager
{
    jpeg_error_mgr base {};
    std::jmp_buf jump {};
    char message[JMSG_LENGTH_MAX] = {};
};

void LeaveOnError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<JumpingErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Kept apart from DecodeJpegFile so that no object with a destructor lives across the setjmp.
bool DecodeOpenFile(std::FILE* file, QImage& image, std::string& message)
{
    jpeg_decompress_struct info {};
    JumpingErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = LeaveOnError;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        message = errors.message;
        image = QImage();
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
    if (image.isNull()) {
        jpeg_destroy_decompress(&info);
        message = "JpegFile :\nOut of memory";
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage DecodeJpegFile(const std::string& path, PictureFailure& failure)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        failure = PictureFailure {"JPEG", "JPEG :\nCan't open " + path + "\n"};
        return QImage();
    }
    QImage image;
    std::string message;
    if (!DecodeOpenFile(file.get(), image, message)) {
        failure = PictureFailure {message.rfind("JpegFile", 0) == 0 ? "JPEG" : kFatalCaption, message};
        return QImage();
    }
    return image;
}

} // namespace screenveil
