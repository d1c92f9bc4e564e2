// PNG files through GDI+'s own encoder and decoder.
#include "png_file.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

#include "decoder_startup.h"
#include "wide_path.h"

namespace {

using namespace Gdiplus;

// GDI+'s built-in PNG encoder.
const CLSID kPngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

bool widePath(const std::string& path, std::wstring* wide, std::string* error)
{
    if (!startImageDecoder()) {
        *error = "GDI+ cannot start";
        return false;
    }
    if (!utf8ToWide(path, wide) || wide->empty()) {
        *error = "not a usable file name: " + path;
        return false;
    }
    return true;
}

}  // namespace

bool writePng(const std::string& path, const RgbaImage& image, std::string* error)
{
    std::wstring wide;
    if (!widePath(path, &wide, error))
        return false;
    if (image.width < 1 || image.height < 1 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4) {
        *error = "the image has no pixels or the wrong number of them";
        return false;
    }
    // GDI+ keeps pixels as B, G, R, A.
    std::vector<uint8_t> bgra(image.pixels.size());
    for (size_t i = 0; i < bgra.size(); i += 4) {
        bgra[i] = image.pixels[i + 2];
        bgra[i + 1] = image.pixels[i + 1];
        bgra[i + 2] = image.pixels[i];
        bgra[i + 3] = image.pixels[i + 3];
    }
    GpBitmap* bitmap = nullptr;
    if (DllExports::GdipCreateBitmapFromScan0(image.width, image.height, image.width * 4, PixelFormat32bppARGB,
                                              bgra.data(), &bitmap) != Ok) {
        *error = "GDI+ cannot make a bitmap of the image";
        return false;
    }
    const Status saved = DllExports::GdipSaveImageToFile(bitmap, wide.c_str(), &kPngEncoder, nullptr);
    DllExports::GdipDisposeImage(bitmap);
    if (saved != Ok) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

bool readPng(const std::string& path, RgbaImage* image, std::string* error)
{
    std::wstring wide;
    if (!widePath(path, &wide, error))
        return false;
    GpBitmap* bitmap = nullptr;
    if (DllExports::GdipCreateBitmapFromFile(wide.c_str(), &bitmap) != Ok) {
        *error = "cannot read " + path;
        return false;
    }
    UINT width = 0, height = 0;
    DllExports::GdipGetImageWidth(bitmap, &width);
    DllExports::GdipGetImageHeight(bitmap, &height);
    const GpRect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    BitmapData data = {};
    if (width == 0 || height == 0 ||
        DllExports::GdipBitmapLockBits(bitmap, &whole, ImageLockModeRead, PixelFormat32bppARGB, &data) != Ok) {
        DllExports::GdipDisposeImage(bitmap);
        *error = "cannot decode " + path;
        return false;
    }
    image->width = static_cast<int>(width);
    image->height = static_cast<int>(height);
    image->pixels.resize(static_cast<size_t>(width) * height * 4);
    for (UINT y = 0; y < height; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        uint8_t* out = &image->pixels[static_cast<size_t>(y) * width * 4];
        for (UINT x = 0; x < width; ++x, out += 4) {
            out[0] = row[x * 4 + 2];
            out[1] = row[x * 4 + 1];
            out[2] = row[x * 4];
            out[3] = row[x * 4 + 3];
        }
    }
    DllExports::GdipBitmapUnlockBits(bitmap, &data);
    DllExports::GdipDisposeImage(bitmap);
    return true;
}
