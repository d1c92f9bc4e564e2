#include "text_render_a.h"

#include <new>

#include "glyph_convert.h"

static FT_Int32 loadFlags(bool antialiased)
{
    return antialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
}

// FreeType stores bottom-up bitmaps with a negative pitch; this is the top row.
static const unsigned char* topRow(const FT_Bitmap& bitmap)
{
    if (bitmap.pitch >= 0)
        return bitmap.buffer;
    return bitmap.buffer + static_cast<std::ptrdiff_t>(bitmap.rows - 1) * -bitmap.pitch;
}

// A glyph without contours (a space): the monochrome renderer would still
// hand out an empty pixel for it.
static bool isBlank(const FT_GlyphSlotRec& slot)
{
    return slot.format == FT_GLYPH_FORMAT_OUTLINE && slot.outline.n_contours == 0;
}

static int roundedAdvance(const FT_GlyphSlotRec& slot) { return static_cast<int>((slot.advance.x + 32) >> 6); }

bool TextRenderA::RenderGlyph(FT_Face face, uint16_t code, bool antialiased)
{
    bitmap_.reset();
    if (!face)
        return false;
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (FT_Load_Glyph(face, index, loadFlags(antialiased)) != 0)
        return false;
    FT_GlyphSlot slot = face->glyph;
    if (isBlank(*slot)) {
        origin_ = {0, 0};
        size_ = {0, 0};
        advance_ = roundedAdvance(*slot);
        return true;
    }
    if (FT_Render_Glyph(slot, antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
        return false;
    origin_ = {slot->bitmap_left, slot->bitmap_top};
    size_ = {static_cast<int>(slot->bitmap.width), static_cast<int>(slot->bitmap.rows)};
    advance_ = roundedAdvance(*slot);
    if (size_.cx == 0 || size_.cy == 0)
        return true;
    return convert(slot->bitmap, antialiased);
}

bool TextRenderA::convert(const FT_Bitmap& source, bool antialiased)
{
    const unsigned char expectedMode = antialiased ? FT_PIXEL_MODE_GRAY : FT_PIXEL_MODE_MONO;
    if (source.pixel_mode != expectedMode || !source.buffer)
        return false;
    bitmap_.reset(new (std::nothrow) unsigned char[static_cast<size_t>(size_.cx) * size_.cy]);
    if (!bitmap_)
        return false;
    if (antialiased)
        convertGreyRows(topRow(source), source.pitch, size_.cx, size_.cy, bitmap_.get());
    else
        convertMonoRows(topRow(source), source.pitch, size_.cx, size_.cy, bitmap_.get());
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
