// Decoding an image file (PNG, BMP, JPEG or GIF) to RGBA8 rows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::unique_ptr<uint8_t, void (*)(uint8_t*)> rgba{nullptr, nullptr};  // rows top first, R, G, B, A
};

// The largest picture decoded: its side, and its area (64 MiB of RGBA).
constexpr long long kMaxImageSide = 16384;
constexpr long long kMaxImagePixels = 1LL << 24;

// False, with the reason naming the file in *error, when the file cannot
// be read, is not a PNG, BMP, JPEG or GIF file, claims more than
// kMaxImagePixels pixels (refused before any pixel is decoded) or is broken.
bool decodeImageFile(const std::string& path, DecodedImage* image, std::string* error);
