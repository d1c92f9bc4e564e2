#include "font_manager.h"
#include "glyph_batch.h"
#include "scratch.h"
#include "state.h"
#include "submit.h"

namespace {

struct TextRun {
    const char16_t* text;
    int font;
    bool antialiased;
    FontMetrics metrics;
    float width;  // negative until measured
};

float runWidth(TextRun& run)
{
    if (run.width < 0.0f)
        run.width = fontManager().measureText(run.font, run.text, run.antialiased);
    return run.width;
}

void drawPlate(TextRun& run, Vec2f pen, const TextFrame& frame)
{
    float corners[8];
    plateCorners(pen, frame, runWidth(run), run.metrics, g_draw.borderWidth, corners);
    drawVertices(Primitive::TriangleStrip, corners, 4, g_draw.borderColor);
}

void drawGlyphs(const TextRun& run, Vec2f pen, const TextFrame& frame)
{
    backend().setCapability(Capability::SurfaceTexture, true);
    backend().setCapability(Capability::TexCoords, true);
    backend().setCapability(Capability::Blend, true);
    GlyphBatch batch(g_draw.vertexScratch.data, g_draw.texCoordScratch.data, g_draw.color);
    for (const char16_t* p = run.text; *p; ++p) {
        const GlyphRecord* glyph = fontManager().findGlyph(run.font, *p, run.antialiased);
        if (!glyph)
            continue;
        if (glyph->texture != 0)
            batch.add(*glyph, pen, frame);
        pen = pen + glyph->advance * frame.d;
    }
    batch.flush();
    backend().setCapability(Capability::SurfaceTexture, false);
    backend().setCapability(Capability::TexCoords, false);
    backend().setCapability(Capability::Blend, false);
}

void drawText(const char16_t* text, float x, float y, float angleDeg)
{
    if (!text)
        return;
    if (!fontManager().hasFont(g_draw.font)) {
        ++g_draw.diagnostics.rejectedIndices;
        return;
    }
    if (!ensureScratchPair(textBatchLimit, textBatchLimit))
        return;
    TextRun run = {text, g_draw.font, g_draw.antialias != 0, fontMetrics()[g_draw.font], -1.0f};
    const TextFrame frame = textFrame(angleDeg);
    const int h = g_draw.alignHorizontal;
    const float width = alignmentNeedsWidth(h) ? runWidth(run) : 0.0f;
    const Vec2f pen = alignPen(penAtAnchor(x, y, frame), frame, h, g_draw.alignVertical, width, run.metrics);
    if (g_draw.border)
        drawPlate(run, pen, frame);
    drawGlyphs(run, pen, frame);
    GR_CHECK_GL("text");
}

}  // namespace

void grText(int x, int y, float angleDeg, const char16_t* text)
{
    drawText(text, static_cast<float>(x), static_cast<float>(y), angleDeg);
}
