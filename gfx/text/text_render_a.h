// The rasteriser on FreeType: the engine's grey or monochrome glyph bitmap,
// converted to the atlas's coverage format.
#pragma once

#include <memory>

#include "text_render.h"

class TextRenderA : public ITextRender {
public:
    bool RenderGlyph(FT_Face face, uint16_t code, bool antialiased) override;
    const unsigned char* GetGlyphBitmap(GlyphOrigin* origin, GlyphSize* size, int* advance) override;

private:
    bool convert(const FT_Bitmap& source, bool antialiased);

    std::unique_ptr<unsigned char[]> bitmap_;
    GlyphOrigin origin_ = {0, 0};
    GlyphSize size_ = {0, 0};
    int advance_ = 0;
};
