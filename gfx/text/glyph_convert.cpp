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
