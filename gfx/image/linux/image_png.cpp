// PNG through libpng's simplified reader, which converts every colour type
// and bit depth to 8-bit RGBA.
#include <png.h>

#include <cstdlib>
#include <cstring>

#include "image_bytes.h"

namespace {

void freePixels(uint8_t* pixels) { std::free(pixels); }

}  // namespace

bool decodePng(const uint8_t* bytes, size_t size, DecodedImage* image, std::string* why)
{
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes, size)) {
        *why = png.message;
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    const size_t bytesNeeded = PNG_IMAGE_SIZE(png);
    uint8_t* pixels = static_cast<uint8_t*>(std::malloc(bytesNeeded));
    if (!pixels) {
        png_image_free(&png);
        *why = "no memory for its pixels";
        return false;
    }
    if (!png_image_finish_read(&png, nullptr, pixels, 0, nullptr)) {
        *why = png.message;
        std::free(pixels);
        return false;
    }
    image->width = static_cast<int>(png.width);
    image->height = static_cast<int>(png.height);
    image->rgba = {pixels, freePixels};
    return true;
}
