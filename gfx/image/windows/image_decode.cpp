#include "image_decode.h"

#include <cstdlib>
#include <cstring>

#include "gdiplus_flat.h"
#include "wide_path.h"

namespace {

using namespace Gdiplus;

void freeDecoded(uint8_t* pixels) { std::free(pixels); }

// The locked rows (B, G, R, A a pixel) as R, G, B, A rows; null without memory.
uint8_t* rgbaRows(const BitmapData& data)
{
    const size_t width = data.Width;
    const size_t height = data.Height;
    uint8_t* rgba = static_cast<uint8_t*>(std::malloc(width * height * 4));
    if (!rgba)
        return nullptr;
    const uint8_t* row = static_cast<const uint8_t*>(data.Scan0);
    uint8_t* out = rgba;
    for (size_t y = 0; y < height; ++y, row += data.Stride) {
        for (size_t x = 0; x < width; ++x, out += 4) {
            const uint8_t* bgra = row + x * 4;
            out[0] = bgra[2];
            out[1] = bgra[1];
            out[2] = bgra[0];
            out[3] = bgra[3];
        }
    }
    return rgba;
}

}  // namespace

bool decodeImageFile(const std::string& path, DecodedImage* image)
{
    std::wstring widePath;
    if (!utf8ToWide(path, &widePath))
        return false;
    GpBitmap* bitmap = nullptr;
    if (DllExports::GdipCreateBitmapFromFile(widePath.c_str(), &bitmap) != Ok || !bitmap)
        return false;
    UINT width = 0, height = 0;
    DllExports::GdipGetImageWidth(bitmap, &width);
    DllExports::GdipGetImageHeight(bitmap, &height);
    const GpRect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    BitmapData data = {};
    bool decoded = false;
    if (width > 0 && height > 0 &&
        DllExports::GdipBitmapLockBits(bitmap, &whole, ImageLockModeRead, PixelFormat32bppARGB, &data) == Ok) {
        if (uint8_t* rgba = rgbaRows(data)) {
            image->width = static_cast<int>(width);
            image->height = static_cast<int>(height);
            image->rgba = {rgba, freeDecoded};
            decoded = true;
        }
        DllExports::GdipBitmapUnlockBits(bitmap, &data);
    }
    DllExports::GdipDisposeImage(bitmap);
    return decoded;
}
