// Glyph quads collected in the scratch arrays and drawn together, one draw
// per atlas texture and per textBatchLimit vertices.
#pragma once

#include "glyph.h"
#include "text_layout.h"

constexpr int textBatchLimit = 1200;
constexpr int kGlyphVertices = 6;

class GlyphBatch {
public:
    // The scratch arrays must hold textBatchLimit pairs each.
    GlyphBatch(float* vertices, float* texCoords, const GrColor* color);

    // Appends glyph's quad with its origin at pen, drawing what is collected
    // first when the glyph lies on another page.
    void add(const GlyphRecord& glyph, Vec2f pen, const TextFrame& frame);
    void flush();

private:
    void usePage(TextureHandle texture);

    float* vertices_;
    float* texCoords_;
    const GrColor* color_;
    TextureHandle texture_ = 0;
    int count_ = 0;
};
