#include "text_render_a.h"

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
    const unsigned char expectedMode = antialiased ? FT_PIXEL_MODE_GRAY : FT_PIXEL_MODE_MONO;
    if (slot->bitmap.pixel_mode != expectedMode || !slot->bitmap.buffer)
        return false;
    return storeBitmap(topRow(slot->bitmap), slot->bitmap.pitch,
                       antialiased ? GlyphRows::GreyCoverage : GlyphRows::MonoBits);
}
