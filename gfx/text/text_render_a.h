// The rasteriser the library uses: the font engine's own grey or monochrome
// glyph bitmap, converted to the atlas's coverage format.
#pragma once

#include <cstddef>
#include <memory>

#include "glyph_convert.h"
#include "text_render.h"

class TextRenderA : public ITextRender {
public:
    bool RenderGlyph(GlyphSource source, uint16_t code, bool antialiased) override;
    const unsigned char* GetGlyphBitmap(GlyphOrigin* origin, GlyphSize* size, int* advance) override;

private:
    // Converts the engine's rows (the top one at top, rows pitch bytes apart)
    // into the w * h coverage bitmap of size_; false without memory.
    bool storeBitmap(const unsigned char* top, std::ptrdiff_t pitch, GlyphRows rows);

    std::unique_ptr<unsigned char[]> bitmap_;
    GlyphOrigin origin_ = {0, 0};
    GlyphSize size_ = {0, 0};
    int advance_ = 0;
};
