#include <new>

#include "text_render_a.h"

bool TextRenderA::storeBitmap(const unsigned char* top, std::ptrdiff_t pitch, GlyphRows rows)
{
    if (!top || size_.cx < 1 || size_.cy < 1)
        return false;
    bitmap_.reset(new (std::nothrow) unsigned char[static_cast<size_t>(size_.cx) * size_.cy]);
    if (!bitmap_)
        return false;
    convertGlyphRows(top, pitch, size_.cx, size_.cy, rows, bitmap_.get());
    return true;
}

const unsigned char* TextRenderA::GetGlyphBitmap(GlyphOrigin* origin, GlyphSize* size, int* advance)
{
    if (origin)
        *origin = origin_;
    if (size)
        *size = size_;
    if (advance)
        *advance = advance_;
    return bitmap_.get();
}
