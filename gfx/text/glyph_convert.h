// Conversion of the font engine's glyph bitmaps into the coverage bitmaps
// the atlas holds: one byte per pixel, rows top to bottom, no padding.
#pragma once

#include <cstddef>

// Coverage 0..255 reduced to one of 65 grey levels (0..64), to nearest.
int greyLevel(unsigned char coverage);
// A grey level 0..64 as coverage: trunc(level / 64 * 255), so 64 -> 255, 32 -> 127, 1 -> 3.
unsigned char levelCoverage(int level);

// 8-bit grey rows (first row at src, the next pitch bytes further) through
// the 65-level rule into w * h bytes at dst.
void convertGreyRows(const unsigned char* src, std::ptrdiff_t pitch, int w, int h, unsigned char* dst);

// 1-bit rows, most significant bit first, into w * h bytes of 0 or 255.
void convertMonoRows(const unsigned char* src, std::ptrdiff_t pitch, int w, int h, unsigned char* dst);

// 8-bit grey levels 0..64 (GDI's grey glyph rows) into w * h coverage bytes.
void convertLevelRows(const unsigned char* src, std::ptrdiff_t pitch, int w, int h, unsigned char* dst);

// The row formats font engines hand out.
enum class GlyphRows {
    GreyCoverage,  // one byte per pixel, 0..255
    GreyLevels,    // one byte per pixel, 0..64
    MonoBits,      // one bit per pixel, most significant first
};

// Converts w * h pixels of rows in the given format into coverage bytes at dst.
void convertGlyphRows(const unsigned char* src, std::ptrdiff_t pitch, int w, int h, GlyphRows rows,
                      unsigned char* dst);
