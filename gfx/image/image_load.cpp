#include "image_load.h"

#include <new>

#include "image_decode.h"
#include "image_path.h"
#include "image_texels.h"
#include "image_upload.h"
#include "state.h"

bool loadImage(const ImageSpec& entry, ImageRecord* record, std::string* error)
{
    *record = {};
    std::string path;
    if (!resolveImagePath(entry.fileName, &path)) {
        *error = "an image file name is empty or not valid UTF-16";
        return false;
    }
    DecodedImage image;
    if (!decodeImageFile(path, &image, error)) {
        ++g_draw.diagnostics.rejectedImages;
        return false;
    }
    TextureSize size;
    const int maxSide = maxTextureSide();
    if (!textureSizeFor(image.width, image.height, maxSide, &size)) {
        ++g_draw.diagnostics.rejectedImages;
        *error = path + ": " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                 " pixels do not fit a texture of at most " + std::to_string(maxSide) + " a side";
        return false;
    }

    std::unique_ptr<uint8_t[]> texels(new (std::nothrow) uint8_t[textureBytes(size)]);
    if (!texels) {
        *error = path + ": no memory for its texture";
        return false;
    }
    buildImageTexels(image.rgba.get(), image.width, image.height, entry, size, texels.get());
    TextureHandle name = 0;
    if (!uploadImageTexture(texels.get(), size, &name)) {
        *error = path + ": the graphics backend refused its texture";
        return false;
    }

    const float width = static_cast<float>(image.width);
    const float height = static_cast<float>(image.height);
    *record = {name, width, height, width / static_cast<float>(size.width), height / static_cast<float>(size.height)};
    return true;
}
