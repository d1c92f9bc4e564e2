#include "png_file.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

}  // namespace

bool writePng(const std::string& path, const RgbaImage& image, std::string* error)
{
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4) {
        *error = "image has no pixels";
        return false;
    }
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        *error = "cannot open " + path + " for writing: " + std::strerror(errno);
        return false;
    }
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_stdio(&png, file.get(), 0, image.pixels.data(), 0, nullptr)) {
        *error = std::string("cannot write ") + path + ": " + png.message;
        return false;
    }
    if (std::fflush(file.get()) != 0) {
        *error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool readPng(const std::string& path, RgbaImage* image, std::string* error)
{
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        *error = std::string("cannot read ") + path + ": " + png.message;
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    image->width = static_cast<int>(png.width);
    image->height = static_cast<int>(png.height);
    image->pixels.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image->pixels.data(), 0, nullptr)) {
        *error = std::string("cannot decode ") + path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}
