#include "image_file_bytes.h"

#include "image_limits.h"

namespace {

// The file's length, -1 when it cannot be told; positions are 64-bit
// everywhere (long is 32 bits on Windows).
long long fileLength(std::FILE* file)
{
#if defined(_WIN32)
    if (_fseeki64(file, 0, SEEK_END) != 0)
        return -1;
    const long long size = _ftelli64(file);
    return size >= 0 && _fseeki64(file, 0, SEEK_SET) == 0 ? size : -1;
#else
    if (fseeko(file, 0, SEEK_END) != 0)
        return -1;
    const long long size = ftello(file);
    return size >= 0 && fseeko(file, 0, SEEK_SET) == 0 ? size : -1;
#endif
}

}  // namespace

bool readImageFileBytes(std::FILE* file, std::vector<uint8_t>* bytes, std::string* why)
{
    if (!file) {
        *why = "cannot be opened";
        return false;
    }
    const long long size = fileLength(file);
    if (size > kMaxImageFileBytes) {
        *why = "file of " + std::to_string(size) + " bytes is larger than an image file may be";
        std::fclose(file);
        return false;
    }
    bool ok = size >= 0;
    if (ok) {
        bytes->resize(static_cast<size_t>(size));
        ok = std::fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
    }
    std::fclose(file);
    if (!ok)
        *why = "cannot be read";
    return ok;
}
