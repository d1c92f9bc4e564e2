#include "image_decode.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gdiplus_flat.h"
#include "image_header.h"
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

// The format its first bytes give; Unknown when the file cannot be read.
ImageFormat fileFormat(const std::wstring& widePath)
{
    uint8_t head[64] = {};
    size_t got = 0;
    if (std::FILE* file = _wfopen(widePath.c_str(), L"rb")) {
        got = std::fread(head, 1, sizeof head, file);
        std::fclose(file);
    }
    return readImageHeader(head, got).format;
}

bool fail(const std::string& path, const char* why, std::string* error)
{
    *error = path + ": " + why;
    return false;
}

}  // namespace

// GDI+ reads the header when the bitmap is made and decodes the pixels only
// when they are locked, so an oversized picture is refused before that.
bool decodeImageFile(const std::string& path, DecodedImage* image, std::string* error)
{
    std::wstring widePath;
    if (!utf8ToWide(path, &widePath))
        return fail(path, "is not a valid UTF-8 name", error);
    if (fileFormat(widePath) == ImageFormat::Unknown)
        return fail(path, "cannot be read or is not a PNG, BMP, JPEG or GIF file", error);
    GpBitmap* bitmap = nullptr;
    if (DllExports::GdipCreateBitmapFromFile(widePath.c_str(), &bitmap) != Ok || !bitmap)
        return fail(path, "cannot be decoded", error);
    UINT width = 0, height = 0;
    DllExports::GdipGetImageWidth(bitmap, &width);
    DllExports::GdipGetImageHeight(bitmap, &height);
    if (width > kMaxImageSide || height > kMaxImageSide ||
        static_cast<long long>(width) * height > kMaxImagePixels) {
        DllExports::GdipDisposeImage(bitmap);
        return fail(path, "is larger than an image may be", error);
    }
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
    return decoded || fail(path, "cannot be decoded", error);
}
