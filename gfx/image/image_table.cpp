#include "image_table.h"

#include <string>

#include "image_load.h"
#include "state.h"

ImageTable g_imageTable = {};

namespace {

std::string imageError;

}  // namespace

const char* grImageError() { return imageError.c_str(); }

bool imageTableInUse()
{
    return g_draw.tables.imageCount > 0 && g_draw.tables.images[0].fileName != nullptr;
}

bool loadImages(const ImageSpec* entries, int count, ImageTable& table)
{
    table = {};
    imageError.clear();
    if (count < 0 || count > GR_MAX_IMAGES) {
        imageError = "the image table has " + std::to_string(count) + " entries";
        return false;
    }
    table.count = count;
    for (int i = 0; i < count; ++i)
        if (!loadImage(entries[i], &table.records[i], &imageError))
            return false;
    return true;
}

void releaseImages(ImageTable& table)
{
    for (int i = 0; i < table.count; ++i) {
        backend().deleteTexture(table.records[i].texture);
    }
    table = {};
}

const ImageRecord* loadedImage(const ImageTable& table, int index)
{
    if (index >= 0 && index < table.count && table.records[index].texture != 0)
        return &table.records[index];
    ++g_draw.diagnostics.rejectedIndices;
    return nullptr;
}
