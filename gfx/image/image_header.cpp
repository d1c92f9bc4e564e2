#include "image_header.h"

#include <cstring>

namespace {

uint32_t bigEndian16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }
uint32_t bigEndian32(const uint8_t* p) { return bigEndian16(p) << 16 | bigEndian16(p + 2); }
uint32_t littleEndian16(const uint8_t* p) { return static_cast<uint32_t>(p[1]) << 8 | p[0]; }
uint32_t littleEndian32(const uint8_t* p) { return littleEndian16(p + 2) << 16 | littleEndian16(p); }

bool startsWith(const uint8_t* bytes, size_t size, const char* signature, size_t length)
{
    return size >= length && std::memcmp(bytes, signature, length) == 0;
}

void readPng(const uint8_t* bytes, size_t size, ImageHeader* header)
{
    // The first chunk must be IHDR: length, type, then width and height.
    if (size >= 24 && std::memcmp(bytes + 12, "IHDR", 4) == 0) {
        header->width = bigEndian32(bytes + 16);
        header->height = bigEndian32(bytes + 20);
    }
}

void readBmp(const uint8_t* bytes, size_t size, ImageHeader* header)
{
    if (size < 18)
        return;
    const uint32_t infoSize = littleEndian32(bytes + 14);
    if (infoSize == 12 && size >= 22) {  // the old OS/2 header: 16-bit sides
        header->width = littleEndian16(bytes + 18);
        header->height = littleEndian16(bytes + 20);
    } else if (infoSize > 12 && size >= 26) {
        // Signed; a negative height stores the rows top first.
        const long long width = static_cast<int32_t>(littleEndian32(bytes + 18));
        const long long height = static_cast<int32_t>(littleEndian32(bytes + 22));
        header->width = width < 0 ? -width : width;
        header->height = height < 0 ? -height : height;
    }
}

void readGif(const uint8_t* bytes, size_t size, ImageHeader* header)
{
    // The logical screen: every frame is decoded onto a canvas of this size.
    if (size >= 10) {
        header->width = littleEndian16(bytes + 6);
        header->height = littleEndian16(bytes + 8);
    }
}

bool isStartOfFrame(uint8_t marker)
{
    // C0..CF, less DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

void readJpeg(const uint8_t* bytes, size_t size, ImageHeader* header)
{
    // Walks the marker segments up to the frame header.
    size_t at = 2;
    while (at + 4 <= size) {
        if (bytes[at] != 0xFF)
            return;
        const uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length follows
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)  // end of image, or scan data before any frame
            return;
        const size_t length = bigEndian16(bytes + at + 2);
        if (length < 2)
            return;
        if (isStartOfFrame(marker)) {
            if (at + 9 <= size) {
                header->height = bigEndian16(bytes + at + 5);
                header->width = bigEndian16(bytes + at + 7);
            }
            return;
        }
        at += 2 + length;
    }
}

}  // namespace

ImageHeader readImageHeader(const uint8_t* bytes, size_t size)
{
    ImageHeader header;
    if (startsWith(bytes, size, "\x89PNG\r\n\x1a\n", 8)) {
        header.format = ImageFormat::Png;
        readPng(bytes, size, &header);
    } else if (startsWith(bytes, size, "BM", 2)) {
        header.format = ImageFormat::Bmp;
        readBmp(bytes, size, &header);
    } else if (startsWith(bytes, size, "\xFF\xD8\xFF", 3)) {
        header.format = ImageFormat::Jpeg;
        readJpeg(bytes, size, &header);
    } else if (startsWith(bytes, size, "GIF87a", 6) || startsWith(bytes, size, "GIF89a", 6)) {
        header.format = ImageFormat::Gif;
        readGif(bytes, size, &header);
    }
    return header;
}

const char* imageFormatName(ImageFormat format)
{
    switch (format) {
    case ImageFormat::Png: return "PNG";
    case ImageFormat::Bmp: return "BMP";
    case ImageFormat::Jpeg: return "JPEG";
    case ImageFormat::Gif: return "GIF";
    case ImageFormat::Unknown: break;
    }
    return "unknown";
}
