#include "image_decode.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "gdiplus_flat.h"
// After windows.h, which gdiplus_flat.h brings.
#include <shlwapi.h>

#include "image_file_bytes.h"
#include "image_header.h"
#include "image_limits.h"
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

bool fail(const std::string& path, const std::string& why, std::string* error)
{
    *error = path + ": " + why;
    return false;
}

// What GDI+ is given: a GIF's first picture only (it would decode every
// one), anything else whole.
std::vector<uint8_t> decoderInput(ImageFormat format, std::vector<uint8_t> bytes)
{
    if (format != ImageFormat::Gif)
        return bytes;
    // A file whose first picture does not end inside it is given unchanged:
    // a trailer after truncated bytes would be read as part of the picture.
    const size_t first = gifFirstPictureBytes(bytes.data(), bytes.size());
    if (first >= bytes.size())
        return bytes;
    bytes.resize(first);
    bytes.push_back(kGifTrailer);
    return bytes;
}

// The picture GDI+ decodes from bytes; null with the reason in *why.
GpBitmap* decodeBitmap(const std::vector<uint8_t>& bytes, std::string* why)
{
    IStream* stream = SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    if (!stream) {
        *why = "no memory for its bytes";
        return nullptr;
    }
    GpBitmap* bitmap = nullptr;
    const GpStatus status = DllExports::GdipCreateBitmapFromStream(stream, &bitmap);
    stream->Release();
    if (status != Ok || !bitmap) {
        *why = "GDI+ cannot decode it (status " + std::to_string(status) + ")";
        return nullptr;
    }
    return bitmap;
}

}  // namespace

// Everything a file is refused for is decided from its bytes before GDI+
// sees them: GDI+ decodes every pixel (and every frame of a GIF) when the
// bitmap is made, before its size can be asked.
bool decodeImageFile(const std::string& path, DecodedImage* image, std::string* error)
{
    std::wstring widePath;
    if (!utf8ToWide(path, &widePath))
        return fail(path, "is not a valid UTF-8 name", error);
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readImageFileBytes(_wfopen(widePath.c_str(), L"rb"), &bytes, &why))
        return fail(path, why, error);
    const ImageHeader header = readImageHeader(bytes.data(), bytes.size());
    why = imageHeaderProblem(header, kMaxImagePixels);
    if (!why.empty())
        return fail(path, why, error);
    if (header.format == ImageFormat::Jpeg && jpegScanCount(bytes.data(), bytes.size(), kMaxJpegScans) > kMaxJpegScans)
        return fail(path, brokenImageReason(header.format, "more than " + std::to_string(kMaxJpegScans) + " scans"),
                    error);
    GpBitmap* bitmap = decodeBitmap(decoderInput(header.format, std::move(bytes)), &why);
    if (!bitmap)
        return fail(path, brokenImageReason(header.format, why), error);
    UINT width = 0, height = 0;
    DllExports::GdipGetImageWidth(bitmap, &width);
    DllExports::GdipGetImageHeight(bitmap, &height);
    if (width != header.width || height != header.height) {
        DllExports::GdipDisposeImage(bitmap);
        return fail(path,
                    brokenImageReason(header.format, "the picture is not the " + std::to_string(header.width) +
                                                         " x " + std::to_string(header.height) +
                                                         " pixels its header gives"),
                    error);
    }
    const GpRect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    BitmapData data = {};
    bool decoded = false;
    if (DllExports::GdipBitmapLockBits(bitmap, &whole, ImageLockModeRead, PixelFormat32bppARGB, &data) == Ok) {
        if (uint8_t* rgba = rgbaRows(data)) {
            image->width = static_cast<int>(width);
            image->height = static_cast<int>(height);
            image->rgba = {rgba, freeDecoded};
            decoded = true;
        }
        DllExports::GdipBitmapUnlockBits(bitmap, &data);
    }
    DllExports::GdipDisposeImage(bitmap);
    return decoded || fail(path, brokenImageReason(header.format, "no memory for its pixels"), error);
}
