// The second GDI rasteriser: draws the character with TextOutW into an
// off-screen bitmap and reads the pixels back. The library rasterises with
// TextRenderA; this one answers the same interface.
#pragma once

#include <memory>

#include "text_render.h"

class TextRenderB final : public ITextRender {
public:
    TextRenderB();
    ~TextRenderB();
    TextRenderB(const TextRenderB&) = delete;
    TextRenderB& operator=(const TextRenderB&) = delete;

    bool RenderGlyph(HDC dc, uint16_t code, bool antialiased) override;
    const unsigned char* GetGlyphBitmap(GlyphOrigin* origin, GlyphSize* size, int* advance) override;
    // Maps the grey of a drawn pixel before it becomes coverage; unchanged here.
    virtual unsigned char MapGrey(unsigned char grey);

private:
    bool renderOffscreen(HDC dc, uint16_t code, HFONT font);
    bool copyCoverage(const uint32_t* image, int imageWidth, int imageHeight, int firstRow, int firstColumn);

    std::unique_ptr<unsigned char[]> bitmap_;
    GlyphOrigin origin_ = {0, 0};
    GlyphSize size_ = {0, 0};
    int advance_ = 0;
    HBRUSH white_;
};
