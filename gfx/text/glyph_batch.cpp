#include "glyph_batch.h"

#include "submit.h"
#include "texture_filter.h"

GlyphBatch::GlyphBatch(float* vertices, float* texCoords, const GrColor* color)
    : vertices_(vertices), texCoords_(texCoords), color_(color)
{
}

void GlyphBatch::usePage(TextureHandle texture)
{
    flush();
    backend().bindTexture(TextureSlot::Surface, texture);
    applyTextureFilter(TextureSlot::Surface);
    backend().setTextureWrap(TextureSlot::Surface, TextureWrap::Clamp);
    texture_ = texture;
}

void GlyphBatch::add(const GlyphRecord& glyph, Vec2f pen, const TextFrame& frame)
{
    if (glyph.texture != texture_)
        usePage(glyph.texture);
    const Vec2f bl = pen + glyph.left * frame.d + glyph.bottom * frame.n;
    const Vec2f tl = bl + glyph.height * frame.n;
    const Vec2f br = bl + glyph.width * frame.d;
    const Vec2f tr = br + glyph.height * frame.n;
    const Vec2f corners[kGlyphVertices] = {bl, tl, tr, bl, tr, br};
    const Vec2f texels[kGlyphVertices] = {{glyph.s0, glyph.t1}, {glyph.s0, glyph.t0}, {glyph.s1, glyph.t0},
                                            {glyph.s0, glyph.t1}, {glyph.s1, glyph.t0}, {glyph.s1, glyph.t1}};
    for (int i = 0; i < kGlyphVertices; ++i, ++count_) {
        vertices_[2 * count_] = corners[i].x;
        vertices_[2 * count_ + 1] = corners[i].y;
        texCoords_[2 * count_] = texels[i].x;
        texCoords_[2 * count_ + 1] = texels[i].y;
    }
    if (count_ >= textBatchLimit)
        flush();
}

// Building a glyph may have bound the page it was uploaded to; the upload
// tells the state cache so.
void GlyphBatch::flush()
{
    if (count_ == 0)
        return;
    backend().bindTexture(TextureSlot::Surface, texture_);
    drawTexturedVertices(Primitive::Triangles, vertices_, texCoords_, count_, color_);
    count_ = 0;
}
