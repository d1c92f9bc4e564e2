#include "image_bytes.h"

#include "image_header.h"

bool decodeImageBytes(const uint8_t* bytes, size_t size, long long maxPixels, DecodedImage* image, std::string* why)
{
    const ImageHeader header = readImageHeader(bytes, size);
    if (header.format == ImageFormat::Unknown) {
        *why = "not a PNG, BMP, JPEG or GIF file";
        return false;
    }
    const std::string format = imageFormatName(header.format);
    if (header.width <= 0 || header.height <= 0) {
        *why = "broken " + format + " header: no picture size";
        return false;
    }
    const std::string claimed = std::to_string(header.width) + " x " + std::to_string(header.height);
    if (header.width > kMaxImageSide || header.height > kMaxImageSide ||
        header.width * header.height > maxPixels) {
        *why = format + " picture of " + claimed + " pixels is larger than the " + std::to_string(maxPixels) +
               " pixels (at most " + std::to_string(kMaxImageSide) + " a side) an image may have";
        return false;
    }
    bool decoded = false;
    if (header.format == ImageFormat::Png)
        decoded = decodePng(bytes, size, image, why);
    else if (header.format == ImageFormat::Jpeg)
        decoded = decodeJpeg(bytes, size, maxPixels, image, why);
    else
        decoded = decodeWithStb(bytes, size, image, why);
    if (!decoded) {
        *why = "broken " + format + " file: " + *why;
        return false;
    }
    if (image->width != header.width || image->height != header.height) {
        *why = "broken " + format + " file: the picture is not the " + claimed + " pixels its header gives";
        image->rgba.reset();
        return false;
    }
    return true;
}
