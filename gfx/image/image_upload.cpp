#include "image_upload.h"

int maxTextureSide() { return backend().maxTextureSide(); }

bool uploadImageTexture(const uint8_t* texels, const TextureSize& size, TextureHandle* name)
{
    *name = backend().createTexture(TextureFormat::ImageRgba, size.width, size.height, texels);
    return *name != 0;
}
