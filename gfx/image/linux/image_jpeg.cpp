// JPEG through libjpeg-turbo, which is fuzzed continuously upstream. Its
// errors longjmp back here, so nothing between setjmp and the decoder's
// end owns memory that a destructor would have to free.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>  // needs size_t and FILE declared first

#include "image_bytes.h"
#include "image_limits.h"

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void failDecoding(j_common_ptr info)
{
    ErrorManager* errors = reinterpret_cast<ErrorManager*>(info->err);
    errors->base.format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void ignoreWarning(j_common_ptr) {}

void limitScans(j_common_ptr info)
{
    const j_decompress_ptr decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->is_decompressor && decompress->input_scan_number > kMaxJpegScans) {
        ErrorManager* errors = reinterpret_cast<ErrorManager*>(info->err);
        std::snprintf(errors->message, sizeof errors->message, "more than %d scans", kMaxJpegScans);
        std::longjmp(errors->jump, 1);
    }
}

void freePixels(uint8_t* pixels) { std::free(pixels); }

}  // namespace

bool decodeJpeg(const uint8_t* bytes, size_t size, long long maxPixels, DecodedImage* image, std::string* why)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    jpeg_progress_mgr progress;
    std::memset(&progress, 0, sizeof progress);
    progress.progress_monitor = limitScans;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = failDecoding;
    errors.base.output_message = ignoreWarning;
    errors.message[0] = 0;
    uint8_t* volatile pixels = nullptr;

    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        std::free(pixels);
        *why = errors.message;
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    const long long width = info.image_width, height = info.image_height;
    if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide || width * height > maxPixels) {
        std::snprintf(errors.message, sizeof errors.message, "a picture of %lld x %lld pixels", width, height);
        std::longjmp(errors.jump, 1);
    }
    info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    const size_t row = static_cast<size_t>(width) * 4;
    pixels = static_cast<uint8_t*>(std::malloc(row * static_cast<size_t>(height)));
    if (!pixels) {
        std::snprintf(errors.message, sizeof errors.message, "no memory for its pixels");
        std::longjmp(errors.jump, 1);
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW rowPointer = pixels + row * info.output_scanline;
        jpeg_read_scanlines(&info, &rowPointer, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    image->width = static_cast<int>(width);
    image->height = static_cast<int>(height);
    image->rgba = {pixels, freePixels};
    return true;
}
