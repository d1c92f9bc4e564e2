#include "radial_edge.h"

#include "quads.h"
#include "submit.h"

void EdgeBatch::addBand(Vec2f a, Vec2f b, float sa, float sb, float width)
{
    if (count_ + 6 > kMaxVertices)
        return;
    const int n = writeEdgeBand(v_ + 2 * count_, a.x, a.y, b.x, b.y, width);
    if (n == 0)
        return;
    // writeEdgeBand's order: start, start, end, start, end, end; the second
    // coordinate is the width on the band's right edge and 0 on its left.
    const float t[12] = {sa, width, sa, 0.0f, sb, width, sa, 0.0f, sb, width, sb, 0.0f};
    for (int i = 0; i < 12; ++i)
        tex_[2 * count_ + i] = t[i];
    count_ += n;
}

void EdgeBatch::addLine(const EdgeRun& edge, float w) { addBand(edge.a, edge.b, edge.sa, edge.sb, w); }

void EdgeBatch::addSides(const EdgeRun& edge, float w, float bw)
{
    float c, s, length;
    if (!segmentDirection(edge.a.x, edge.a.y, edge.b.x, edge.b.y, &c, &s, &length))
        return;
    // Each side band is an edge band of width bw centred half a border
    // width beyond the line band's edge.
    const float d = w / 2 + bw / 2;
    const Vec2f right = {s * d, -c * d};
    addBand(edge.a + right, edge.b + right, edge.sa, edge.sb, bw);
    addBand(edge.a - right, edge.b - right, edge.sa, edge.sb, bw);
}

void EdgeBatch::draw(const GrColor* color) const
{
    if (dashed_)
        drawTexturedVertices(Primitive::Triangles, v_, tex_, count_, color);
    else
        drawVertices(Primitive::Triangles, v_, count_, color);
}
