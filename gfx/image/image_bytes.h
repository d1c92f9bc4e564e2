// The portable decoder behind decodeImageFile: PNG through libpng, JPEG
// through libjpeg-turbo, BMP and GIF through stb_image built for those two
// formats only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image_decode.h"

// Decodes a whole file held in memory. Reads the size from the header first
// and refuses, without decoding, a picture with a side beyond kMaxImageSide
// or more than maxPixels pixels. False with the reason in *why.
bool decodeImageBytes(const uint8_t* bytes, size_t size, long long maxPixels, DecodedImage* image, std::string* why);

// Decoders of one format each, called once the header has been checked.
bool decodePng(const uint8_t* bytes, size_t size, DecodedImage* image, std::string* why);
bool decodeJpeg(const uint8_t* bytes, size_t size, long long maxPixels, DecodedImage* image, std::string* why);
bool decodeWithStb(const uint8_t* bytes, size_t size, DecodedImage* image, std::string* why);
