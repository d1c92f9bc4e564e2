// Reading and writing 8-bit RGBA PNG files (libpng).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // rows top first, 4 bytes a pixel
};

// Writes image to path; false with the reason in *error.
bool writePng(const std::string& path, const RgbaImage& image, std::string* error);
bool readPng(const std::string& path, RgbaImage* image, std::string* error);
