#include "rect_outline.h"
#include "segments.h"
#include "submit.h"

// Moves the edges inward by d but never past the centre lines (cx, cy), so
// that a frame wider than the rectangle becomes a plain rectangle instead of
// folding over itself.
static RectEdges insetToCentre(const RectEdges& r, float d, float cx, float cy)
{
    return {minf(cx, r.xl + d), minf(cy, r.yl + d), maxf(cx, r.xh - d), maxf(cy, r.yh - d)};
}

void drawSolidRectOutline(const RectEdges& edges)
{
    const float hw = g_draw.lineWidth / 2;
    const float cx = (edges.xl + edges.xh) / 2;
    const float cy = (edges.yl + edges.yh) / 2;
    const RectEdges outer = grownBy(edges, hw);
    const RectEdges inner = insetToCentre(edges, hw, cx, cy);

    float frame[2 * kFrameStripVertices];
    writeFrameStrip(frame, outer, inner);
    drawVertices(Primitive::TriangleStrip, frame, kFrameStripVertices, g_draw.color);
    if (!g_draw.border)
        return;

    const float bw = g_draw.borderWidth;
    float border[2 * 2 * kFrameTriangleVertices];
    writeFrameTriangles(border, grownBy(outer, bw), outer);
    writeFrameTriangles(border + 2 * kFrameTriangleVertices, inner, insetToCentre(inner, bw, cx, cy));
    drawVertices(Primitive::Triangles, border, 2 * kFrameTriangleVertices, g_draw.borderColor);
}
