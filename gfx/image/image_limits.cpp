#include "image_limits.h"

#include "image_decode.h"

namespace {

// JPEG markers.
constexpr uint8_t kMarkerPrefix = 0xFF;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kTemporary = 0x01;
constexpr uint8_t kFirstRestart = 0xD0;
constexpr uint8_t kLastRestart = 0xD7;
constexpr uint8_t kStuffedZero = 0x00;

// GIF blocks and fields.
constexpr size_t kGifHeaderBytes = 13;  // signature, version, logical screen descriptor
constexpr size_t kGifFlagsAt = 10;
constexpr uint8_t kGifExtension = 0x21;
constexpr uint8_t kGifImage = 0x2C;
constexpr uint8_t kGifGraphicControl = 0xF9;
constexpr uint8_t kGifGraphicControlBytes = 4;
constexpr size_t kGifImageDescriptorBytes = 10;  // with its separator
constexpr size_t kGifImageFlagsAt = 9;
constexpr uint8_t kGifPaletteFlag = 0x80;
constexpr uint8_t kGifPaletteSizeBits = 0x07;

uint32_t bigEndian16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }

size_t gifPaletteBytes(uint8_t flags)
{
    return (flags & kGifPaletteFlag) ? 3u << ((flags & kGifPaletteSizeBits) + 1) : 0;
}

// The offset past a run of data sub-blocks starting at at, or 0 when the
// file ends inside it.
size_t skipSubBlocks(const uint8_t* bytes, size_t size, size_t at)
{
    while (at < size) {
        const size_t length = bytes[at];
        ++at;
        if (length == 0)
            return at;
        at += length;
    }
    return 0;
}

}  // namespace

std::string imageHeaderProblem(const ImageHeader& header, long long maxPixels)
{
    if (header.format == ImageFormat::Unknown)
        return "not a PNG, BMP, JPEG or GIF file";
    const std::string format = imageFormatName(header.format);
    if (header.width <= 0 || header.height <= 0)
        return "broken " + format + " header: no picture size";
    if (header.width > kMaxImageSide || header.height > kMaxImageSide || header.width * header.height > maxPixels)
        return format + " picture of " + std::to_string(header.width) + " x " + std::to_string(header.height) +
               " pixels is larger than the " + std::to_string(maxPixels) + " pixels (at most " +
               std::to_string(kMaxImageSide) + " a side) an image may have";
    return std::string();
}

std::string brokenImageReason(ImageFormat format, const std::string& why)
{
    return "broken " + std::string(imageFormatName(format)) + " file: " + why;
}

int jpegScanCount(const uint8_t* bytes, size_t size, int limit)
{
    int scans = 0;
    size_t at = 2;  // past the start of image
    while (at + 1 < size && scans <= limit) {
        if (bytes[at] != kMarkerPrefix)
            return scans;
        const uint8_t marker = bytes[at + 1];
        if (marker == kMarkerPrefix) {  // fill byte
            ++at;
            continue;
        }
        if (marker == kEndOfImage)
            return scans;
        if (marker == kTemporary || (marker >= kFirstRestart && marker <= kLastRestart)) {
            at += 2;
            continue;
        }
        if (at + 4 > size)
            return scans;
        at += 2 + bigEndian16(bytes + at + 2);
        if (marker != kStartOfScan)
            continue;
        ++scans;
        // The entropy-coded data runs to the next marker that is neither a
        // stuffed zero nor a restart.
        while (at + 1 < size) {
            if (bytes[at] == kMarkerPrefix) {
                const uint8_t next = bytes[at + 1];
                if (next != kStuffedZero && next != kMarkerPrefix && (next < kFirstRestart || next > kLastRestart))
                    break;
            }
            ++at;
        }
    }
    return scans;
}

size_t gifFirstPictureBytes(const uint8_t* bytes, size_t size)
{
    if (size < kGifHeaderBytes)
        return size;
    size_t at = kGifHeaderBytes + gifPaletteBytes(bytes[kGifFlagsAt]);
    while (at < size) {
        if (bytes[at] == kGifExtension) {
            // A graphic control block of another size than 4 is read
            // differently by decoders (stb skips that many bytes and takes
            // the next as a block): where the picture starts is not certain.
            if (at + 2 < size && bytes[at + 1] == kGifGraphicControl && bytes[at + 2] != kGifGraphicControlBytes)
                return size;
            at = at + 2 <= size ? skipSubBlocks(bytes, size, at + 2) : 0;
        } else if (bytes[at] == kGifImage) {
            if (at + kGifImageDescriptorBytes >= size)
                return size;
            at += kGifImageDescriptorBytes + gifPaletteBytes(bytes[at + kGifImageFlagsAt]);
            // The LZW code size, then the picture's sub-blocks.
            const size_t end = at < size ? skipSubBlocks(bytes, size, at + 1) : 0;
            return end ? end : size;
        } else {
            return size;
        }
        if (at == 0)
            return size;
    }
    return size;
}
