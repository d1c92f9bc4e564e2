#include "glyph_convert.h"

enum { kGreyLevels = 64 };

int greyLevel(unsigned char coverage) { return (coverage * kGreyLevels + 127) / 255; }

unsigned char levelCoverage(int level)
{
    return static_cast<unsigned char>(static_cast<int>(level / 64.0 * 255.0));
}

void convertGreyRows(const unsigned char* src, std::ptrdiff_t pitch, int w, int h, unsigned char* dst)
{
    for (int row = 0; row < h; ++row, src += pitch)
        for (int i = 0; i < w; ++i)
            *dst++ = levelCoverage(greyLevel(src[i]));
}

void convertMonoRows(const unsigned char* src, std::ptrdiff_t pitch, int w, int h, unsigned char* dst)
{
    for (int row = 0; row < h; ++row, src += pitch)
        for (int i = 0; i < w; ++i)
            *dst++ = (src[i / 8] >> (7 - i % 8)) & 1 ? 255 : 0;
}

void convertLevelRows(const unsigned char* src, std::ptrdiff_t pitch, int w, int h, unsigned char* dst)
{
    for (int row = 0; row < h; ++row, src += pitch)
        for (int i = 0; i < w; ++i)
            *dst++ = levelCoverage(src[i] > kGreyLevels ? int{kGreyLevels} : int{src[i]});
}

void convertGlyphRows(const unsigned char* src, std::ptrdiff_t pitch, int w, int h, GlyphRows rows,
                      unsigned char* dst)
{
    switch (rows) {
    case GlyphRows::GreyCoverage:
        convertGreyRows(src, pitch, w, h, dst);
        break;
    case GlyphRows::GreyLevels:
        convertLevelRows(src, pitch, w, h, dst);
        break;
    case GlyphRows::MonoBits:
        convertMonoRows(src, pitch, w, h, dst);
        break;
    }
}
