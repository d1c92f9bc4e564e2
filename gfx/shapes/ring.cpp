#include "scratch.h"
#include "segments.h"
#include "stroke.h"
#include "submit.h"

namespace {

void fillRing(float cx, float cy, float inner, float outer, const Sweep& sweep)
{
    const bool border = g_draw.border != 0;
    const float bw = g_draw.borderWidth;
    const float innerEdge = maxf(0.0f, inner - bw);
    // An inner border that reaches the centre would cover the hole.
    const bool innerBorder = border && innerEdge > 0.0f;
    const int q = sweep.stripVertices();
    if (!ensureVertexScratch((1 + (border ? 1 : 0) + (innerBorder ? 1 : 0)) * q))
        return;
    float* const body = g_draw.vertexScratch.data;
    float* const outerBand = body + 2 * q;
    float* const innerBand = outerBand + 2 * q;
    BandPass pass(sweep, cx, cy);
    pass.strip(body, inner, outer);
    if (border)
        pass.strip(outerBand, outer, outer + bw);
    if (innerBorder)
        pass.strip(innerBand, inner, innerEdge);
    pass.write();

    drawVertices(Primitive::TriangleStrip, body, q, g_draw.color);
    if (innerBorder)
        drawVertices(Primitive::TriangleStrip, innerBand, q, g_draw.borderColor);
    if (border)
        drawVertices(Primitive::TriangleStrip, outerBand, q, g_draw.borderColor);
    GR_CHECK_GL("ring fill");
}

// Two circles of the line width, each kept on its side of the middle radius
// so that a line wider than the ring never covers a pixel twice.
void outlineRing(float cx, float cy, float inner, float outer, const Sweep& sweep, bool dashed)
{
    const bool border = g_draw.border != 0;
    const float hw = g_draw.lineWidth / 2;
    const float bw = border ? g_draw.borderWidth : 0.0f;
    const float middle = (inner + outer) / 2;
    const int n = sweep.segments();
    StrokeSet strokes(sweep, cx, cy, border, dashed);
    if (inner > 0.0f)
        strokes.add(strokeRadii(inner, hw, bw, 0.0f, middle), dashAlong(0.0f, inner, kTwoPi, n));
    const int outerStroke =
        strokes.add(strokeRadii(outer, hw, bw, middle, kNoRadiusLimit), dashAlong(0.0f, outer, kTwoPi, n));
    if (!strokes.build())
        return;
    DashScope scope(dashed);
    for (int i = 0; i <= outerStroke; ++i) {
        strokes.drawBody(i);
        strokes.drawBorders(i);
    }
    GR_CHECK_GL("ring outline");
}

void drawRing(float cx, float cy, float inner, float outer)
{
    if (!acceptRadius(inner) || !acceptRadius(outer))
        return;
    const bool fill = g_draw.fill != 0;
    if (!(outer > 0.0f) || outer < inner || (outer == inner && fill))
        return;
    inner = maxf(0.0f, inner);
    const OutlineStyle style = outlineStyle();
    if (!fill && style == OutlineStyle::Hidden)
        return;
    const float b = g_draw.border ? g_draw.borderWidth : 0.0f;
    const Sweep sweep = Sweep::fullTurn(circleSegments(outer + b));
    if (fill)
        fillRing(cx, cy, inner, outer, sweep);
    else
        outlineRing(cx, cy, inner, outer, sweep, style == OutlineStyle::Dashed);
}

}  // namespace

void grRing(int cx, int cy, int outerR, int innerR)
{
    drawRing(static_cast<float>(cx), static_cast<float>(cy), static_cast<float>(innerR),
             static_cast<float>(outerR));
}
