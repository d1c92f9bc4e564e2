#include "image_decode.h"

#include <cstdio>
#include <vector>

#include "image_bytes.h"
#include "image_limits.h"

namespace {

bool readWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* why)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        *why = "cannot be opened";
        return false;
    }
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    ok = size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok && size > kMaxImageFileBytes) {
        *why = "file of " + std::to_string(size) + " bytes is larger than an image file may be";
        std::fclose(file);
        return false;
    }
    if (ok) {
        bytes->resize(static_cast<size_t>(size));
        ok = std::fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
    }
    std::fclose(file);
    if (!ok)
        *why = "cannot be read";
    return ok;
}

}  // namespace

bool decodeImageFile(const std::string& path, DecodedImage* image, std::string* error)
{
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readWholeFile(path, &bytes, &why) ||
        !decodeImageBytes(bytes.data(), bytes.size(), kMaxImagePixels, image, &why)) {
        *error = path + ": " + why;
        return false;
    }
    return true;
}
