// What an image file is and how large it claims to be, read from its first
// bytes before any pixel is decoded.
#pragma once

#include <cstddef>
#include <cstdint>

enum class ImageFormat { Unknown, Png, Bmp, Jpeg, Gif };

struct ImageHeader {
    ImageFormat format = ImageFormat::Unknown;
    long long width = 0;  // 0 when the header does not say (or is cut short)
    long long height = 0;
};

// The format by its signature, and the size its header gives. The formats
// are the ones displays ship images in: PNG, BMP, JPEG and GIF.
ImageHeader readImageHeader(const uint8_t* bytes, size_t size);

// "PNG", "BMP", "JPEG", "GIF" or "unknown".
const char* imageFormatName(ImageFormat format);
