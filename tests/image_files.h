// Test images written as PNG files under the test executable's folder,
// where the library looks up relative image names.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "png_file.h"

inline std::filesystem::path executableFolder()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

// A picture in which every pixel differs: (x * 2 + 1, y * 7 + 3, 200 - x, alpha).
inline RgbaImage distinctImage(int width, int height, uint8_t alpha = 255)
{
    RgbaImage image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &image.pixels[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<uint8_t>(x * 2 + 1);
            p[1] = static_cast<uint8_t>(y * 7 + 3);
            p[2] = static_cast<uint8_t>(200 - x);
            p[3] = alpha;
        }
    return image;
}

// A one-row picture of the given RGBA pixels.
template <size_t N>
RgbaImage rowImage(const std::array<uint8_t, 4> (&pixels)[N])
{
    RgbaImage image{static_cast<int>(N), 1, std::vector<uint8_t>(N * 4)};
    for (size_t i = 0; i < N; ++i)
        std::copy(pixels[i].begin(), pixels[i].end(), image.pixels.begin() + static_cast<std::ptrdiff_t>(i * 4));
    return image;
}

// Tests run in parallel processes that write the same files: each writes a
// file of its own and renames it into place, so no reader sees half a file.
inline void writeImageFile(const std::filesystem::path& path, const RgbaImage& image)
{
    std::filesystem::create_directories(path.parent_path());
    const std::filesystem::path partial = path.string() + "." + std::to_string(getpid()) + ".part";
    std::string error;
    ASSERT_TRUE(writePng(partial.string(), image, &error)) << error;
    std::filesystem::rename(partial, path);
}

// Writes image under the executable's folder at the relative name (UTF-8
// bytes, as the file system takes them).
inline void writeTestImage(const std::string& relative, const RgbaImage& image)
{
    writeImageFile(executableFolder() / relative, image);
}
