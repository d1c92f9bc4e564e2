// The limits every platform's decoder keeps, decided from the file's bytes
// before a decoder sees them, so that no decoder spends time or memory on a
// file it will be refused for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image_header.h"

// Files larger than this are refused unread: an image within the pixel limit
// compresses to far less.
constexpr long long kMaxImageFileBytes = 256LL << 20;

// A progressive JPEG may hold any number of scans, each a pass over the
// whole picture: beyond this many it is refused rather than decoded for
// seconds.
constexpr int kMaxJpegScans = 256;

// Why a file whose header reads as header may not be decoded: not one of
// the formats, no picture size, or a side beyond kMaxImageSide or more than
// maxPixels pixels. Empty when it may.
std::string imageHeaderProblem(const ImageHeader& header, long long maxPixels);

// The reason a decoder failed, as every platform words it.
std::string brokenImageReason(ImageFormat format, const std::string& why);

// The start-of-scan markers of a JPEG file, counted up to limit + 1 (the
// walk stops there): entropy-coded data is skipped, a file cut short counts
// what it holds.
int jpegScanCount(const uint8_t* bytes, size_t size, int limit);

// How many leading bytes of a GIF file hold its header, palettes and
// extensions up to the end of its first picture; size when no complete
// first picture is found (the decoder then says what is wrong). Those bytes
// and a trailer make a GIF of the first picture alone.
size_t gifFirstPictureBytes(const uint8_t* bytes, size_t size);

// The byte that ends a GIF file.
constexpr uint8_t kGifTrailer = 0x3B;
