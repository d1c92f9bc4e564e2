#include "image_decode.h"

#include <stb_image.h>

namespace {

void freeDecoded(uint8_t* pixels) { stbi_image_free(pixels); }

}  // namespace

bool decodeImageFile(const std::string& path, DecodedImage* image)
{
    int width = 0, height = 0, channels = 0;
    uint8_t* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (!pixels)
        return false;
    image->width = width;
    image->height = height;
    image->rgba = {pixels, freeDecoded};
    return true;
}
