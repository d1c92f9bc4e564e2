#include "image_decode.h"

#include <cstdio>
#include <vector>

#include "image_bytes.h"
#include "image_file_bytes.h"
#include "image_limits.h"

bool decodeImageFile(const std::string& path, DecodedImage* image, std::string* error)
{
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readImageFileBytes(std::fopen(path.c_str(), "rb"), &bytes, &why) ||
        !decodeImageBytes(bytes.data(), bytes.size(), kMaxImagePixels, image, &why)) {
        *error = path + ": " + why;
        return false;
    }
    return true;
}
