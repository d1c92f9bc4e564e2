// BMP and GIF through stb_image, compiled here with those decoders only:
// JPEG, PNM, TGA, PSD, HDR and the rest are not built in at all. The
// functions stay private to this file, apart from the one below.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 16384

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include <stb_image.h>
#pragma GCC diagnostic pop

#include <climits>

#include "image_bytes.h"

static_assert(STBI_MAX_DIMENSIONS == kMaxImageSide, "stb_image refuses what the header check lets through");

namespace {

void freePixels(uint8_t* pixels) { stbi_image_free(pixels); }

}  // namespace

bool decodeWithStb(const uint8_t* bytes, size_t size, DecodedImage* image, std::string* why)
{
    if (size > static_cast<size_t>(INT_MAX)) {
        *why = "file too large";
        return false;
    }
    int width = 0, height = 0, channels = 0;
    uint8_t* pixels = stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 4);
    if (!pixels) {
        *why = stbi_failure_reason() ? stbi_failure_reason() : "cannot be decoded";
        return false;
    }
    image->width = width;
    image->height = height;
    image->rgba = {pixels, freePixels};
    return true;
}
