// Decoding an image file (PNG, JPEG, BMP, GIF, TGA, ...) to RGBA8 rows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::unique_ptr<uint8_t, void (*)(uint8_t*)> rgba{nullptr, nullptr};  // rows top first, R, G, B, A
};

// False when the file cannot be read or decoded.
bool decodeImageFile(const std::string& path, DecodedImage* image);
