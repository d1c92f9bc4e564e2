#include <cmath>

#include "ring_sector_gap.h"
#include "scratch.h"
#include "segments.h"
#include "stroke.h"
#include "submit.h"

namespace {

struct RingSector {
    Vec2f c;
    float inner, outer;
    float sweepDeg;  // clamped to a full turn
    float start;     // radians
    float sweep;     // radians, signed
    bool partial;
};

void fillRingSector(const RingSector& s)
{
    const bool border = g_draw.border != 0;
    const float bw = g_draw.borderWidth;
    const int n = arcSegments(border ? s.outer + bw : s.outer, s.sweepDeg);
    const Sweep sweep = Sweep::stepped(s.start, s.sweep, n);
    const int q = sweep.stripVertices();
    if (!ensureVertexScratch((border ? 3 : 1) * q))
        return;
    float* const body = g_draw.vertexScratch.data;
    float* const innerBand = body + 2 * q;
    float* const outerBand = innerBand + 2 * q;
    BandPass pass(sweep, s.c.x, s.c.y);
    pass.strip(body, s.inner, s.outer);
    if (border) {
        pass.strip(innerBand, s.inner, maxf(0.0f, s.inner - bw));
        pass.strip(outerBand, s.outer, s.outer + bw);
    }
    pass.write();

    drawVertices(Primitive::TriangleStrip, body, q, g_draw.color);
    if (!border) {
        GR_CHECK_GL("ring sector fill");
        return;
    }
    drawVertices(Primitive::TriangleStrip, innerBand, q, g_draw.borderColor);
    drawVertices(Primitive::TriangleStrip, outerBand, q, g_draw.borderColor);
    if (s.partial) {
        const float end = s.start + s.sweep;
        const TriangleList<6> edges = ringSectorEdgeBorder(s.c, maxf(0.0f, s.inner - bw), s.outer + bw, bw,
                                                           minf(s.start, end), maxf(s.start, end));
        drawVertices(Primitive::Triangles, edges.v, edges.count, g_draw.borderColor);
    }
    GR_CHECK_GL("ring sector fill");
}

// The closed outline: start edge outwards, outer arc, end edge inwards and
// the inner arc back, with one dash pattern running round it. The two arcs
// stop at the middle radius so that a line wider than the ring never covers
// a pixel twice.
void outlineRingSector(const RingSector& s, bool dashed)
{
    const bool border = g_draw.border != 0;
    const float w = g_draw.lineWidth;
    const float bw = border ? g_draw.borderWidth : 0.0f;
    const Sweep sweep = Sweep::stepped(s.start, s.sweep, arcSegments(s.outer + w / 2 + bw, s.sweepDeg));
    const int n = sweep.segments();
    const float angle = std::fabs(s.sweep);
    const float edge = (s.outer - s.inner) / dashLength();
    const float outerArc = angle * s.outer / dashLength();
    const float innerArc = angle * s.inner / dashLength();
    const float middle = (s.inner + s.outer) / 2;

    StrokeSet strokes(sweep, s.c.x, s.c.y, border, dashed);
    // The inner arc is walked from the end angle back to the start.
    const int inner = strokes.add(strokeRadii(s.inner, w / 2, bw, 0.0f, middle),
                                  dashAlong(2 * edge + outerArc + innerArc, s.inner, -angle, n));
    const int outer = strokes.add(strokeRadii(s.outer, w / 2, bw, middle, kNoRadiusLimit),
                                  dashAlong(edge, s.outer, angle, n));
    if (!strokes.build())
        return;

    EdgeOutline edges(dashed);
    if (s.partial) {
        const Vec2f us = unitAt(s.start);
        const Vec2f ue = unitAt(s.start + s.sweep);
        edges.add({s.c + s.inner * us, s.c + s.outer * us, 0.0f, edge}, w, bw, border);
        edges.add({s.c + s.outer * ue, s.c + s.inner * ue, edge + outerArc, 2 * edge + outerArc}, w, bw, border);
    }

    DashScope scope(dashed);
    if (border) {
        edges.sides.draw(g_draw.borderColor);
        strokes.drawBorders(inner);
        strokes.drawBorders(outer);
    }
    edges.bodies.draw(g_draw.color);
    strokes.drawBody(inner);
    strokes.drawBody(outer);
    GR_CHECK_GL("ring sector outline");
}

void drawRingSector(float cx, float cy, float inner, float outer, float startDeg, float sweepDeg)
{
    if (!acceptRadius(inner) || !acceptRadius(outer) || !acceptSweep(startDeg, sweepDeg))
        return;
    const bool fill = g_draw.fill != 0;
    if (!(outer > 0.0f) || sweepDeg == 0.0f || outer < inner || (outer == inner && fill))
        return;
    const float clamped = clampSweep(sweepDeg);
    const RingSector s = {{cx, cy},           maxf(0.0f, inner),    outer, clamped, startDeg * kDegToRad,
                          clamped * kDegToRad, std::fabs(clamped) < 360.0f};
    if (fill) {
        fillRingSector(s);
        return;
    }
    switch (outlineStyle()) {
    case OutlineStyle::Solid:
        outlineRingSector(s, false);
        break;
    case OutlineStyle::Dashed:
        outlineRingSector(s, true);
        break;
    case OutlineStyle::Hidden:
        break;
    }
}

}  // namespace

void grRingSector(int cx, int cy, int outerR, int innerR, float startDeg, float sweepDeg)
{
    drawRingSector(static_cast<float>(cx), static_cast<float>(cy), static_cast<float>(innerR),
                   static_cast<float>(outerR), startDeg, sweepDeg);
}
