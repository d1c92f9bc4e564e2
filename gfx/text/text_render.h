// The rasteriser interface the glyph cache draws its glyphs through.
#pragma once

#include <cstdint>

#include "font_platform.h"

struct GlyphOrigin {
    int x;  // left edge of the black box relative to the pen
    int y;  // top edge of the black box above the baseline
};

struct GlyphSize {
    int cx;  // black-box width in pixels
    int cy;  // black-box height in pixels
};

class ITextRender {
public:
    // Rasterises one UTF-16 code unit of the font source stands for; false
    // when the engine refuses. True with no bitmap means a glyph with metrics
    // but no pixels.
    virtual bool RenderGlyph(GlyphSource source, uint16_t code, bool antialiased) = 0;
    // The results of the last successful RenderGlyph; null out pointers are
    // skipped. The bitmap (w * h coverage bytes, rows top to bottom, or null)
    // stays valid until the next RenderGlyph.
    virtual const unsigned char* GetGlyphBitmap(GlyphOrigin* origin, GlyphSize* size, int* advance) = 0;

protected:
    ~ITextRender() = default;
};
