#include "quads.h"
#include "segment.h"
#include "submit.h"

namespace {

void drawSolidSegment(const SegmentShape& shape)
{
    drawVertices(Primitive::TriangleStrip, shape.body, kSegmentBodyVertices, g_draw.color);
    if (g_draw.border)
        drawVertices(Primitive::Triangles, shape.border, kSegmentBorderVertices, g_draw.borderColor);
}

// The dash runs on from where the previous segment of the line ended.
void drawDashedSegment(const SegmentShape& shape, float length)
{
    const float s0 = g_draw.patternPhase;
    const float s1 = length / dashLength() + s0;
    SegmentTexCoords tex;
    buildSegmentTexCoords(s0, s1, g_draw.lineWidth, g_draw.borderWidth, &tex);
    DashScope dash(true);
    drawTexturedVertices(Primitive::TriangleStrip, shape.body, tex.body, kSegmentBodyVertices, g_draw.color);
    if (g_draw.border)
        drawTexturedVertices(Primitive::Triangles, shape.border, tex.border, kSegmentBorderVertices,
                             g_draw.borderColor);
    g_draw.patternPhase = s1;
}

// Both ends move back half a unit along the direction, so the segment
// covers its first point's pixel and leaves its last point's pixel to the
// next segment of a polyline.
void drawSegment(float x1, float y1, float x2, float y2)
{
    float c, s, length;
    if (!segmentDirection(x1, y1, x2, y2, &c, &s, &length))
        return;
    const OutlineStyle style = outlineStyle();
    if (style == OutlineStyle::Hidden)
        return;
    SegmentShape shape;
    buildSegmentShape(x1 - c / 2, y1 - s / 2, x2 - c / 2, y2 - s / 2, c, s, g_draw.lineWidth,
                      g_draw.borderWidth, &shape);
    if (style == OutlineStyle::Solid)
        drawSolidSegment(shape);
    else
        drawDashedSegment(shape, length);
}

float toFloat(int32_t v) { return static_cast<float>(v); }

}  // namespace

void grLine(int x1, int y1, int x2, int y2)
{
    g_draw.patternPhase = 0.0f;
    drawSegment(toFloat(x1), toFloat(y1), toFloat(x2), toFloat(y2));
    GR_CHECK_GL("line");
}

void grPolyline(const GrPoint* points, int count)
{
    if (count < 2) {
        if (count < 0)
            ++g_draw.diagnostics.rejectedShapes;
        return;
    }
    if (!points) {
        ++g_draw.diagnostics.rejectedShapes;
        return;
    }
    g_draw.patternPhase = 0.0f;
    for (int i = 0; i + 1 < count; ++i)
        drawSegment(toFloat(points[i].x), toFloat(points[i].y), toFloat(points[i + 1].x),
                    toFloat(points[i + 1].y));
    GR_CHECK_GL("polyline");
}
