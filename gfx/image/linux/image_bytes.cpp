#include "image_bytes.h"

#include "image_header.h"
#include "image_limits.h"

bool decodeImageBytes(const uint8_t* bytes, size_t size, long long maxPixels, DecodedImage* image, std::string* why)
{
    const ImageHeader header = readImageHeader(bytes, size);
    *why = imageHeaderProblem(header, maxPixels);
    if (!why->empty())
        return false;
    bool decoded = false;
    if (header.format == ImageFormat::Png)
        decoded = decodePng(bytes, size, image, why);
    else if (header.format == ImageFormat::Jpeg)
        decoded = decodeJpeg(bytes, size, maxPixels, image, why);
    else
        decoded = decodeWithStb(bytes, size, image, why);
    if (!decoded) {
        *why = brokenImageReason(header.format, *why);
        return false;
    }
    if (image->width != header.width || image->height != header.height) {
        *why = brokenImageReason(header.format, "the picture is not the " + std::to_string(header.width) + " x " +
                                                    std::to_string(header.height) + " pixels its header gives");
        image->rgba.reset();
        return false;
    }
    return true;
}
