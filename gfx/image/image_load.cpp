#include "image_load.h"

#include <new>

#include "image_decode.h"
#include "image_path.h"
#include "image_texels.h"
#include "image_upload.h"

bool loadImage(const ImageSpec& entry, ImageRecord* record)
{
    *record = {};
    std::string path;
    DecodedImage image;
    TextureSize size;
    if (!resolveImagePath(entry.fileName, &path) || !decodeImageFile(path, &image) ||
        !textureSizeFor(image.width, image.height, maxTextureSide(), &size))
        return false;

    std::unique_ptr<uint8_t[]> texels(new (std::nothrow) uint8_t[textureBytes(size)]);
    if (!texels)
        return false;
    buildImageTexels(image.rgba.get(), image.width, image.height, entry, size, texels.get());
    GLuint name = 0;
    if (!uploadImageTexture(texels.get(), size, &name))
        return false;

    const float width = static_cast<float>(image.width);
    const float height = static_cast<float>(image.height);
    *record = {name, width, height, width / static_cast<float>(size.width), height / static_cast<float>(size.height)};
    return true;
}
