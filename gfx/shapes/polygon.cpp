#include "quads.h"
#include "scratch.h"
#include "submit.h"

namespace {

using EdgeWriter = void (*)(const GrPoint* p, int count, float width, float** position);

void band(const GrPoint& a, const GrPoint& b, float width, float** position)
{
    appendSegmentQuad(static_cast<float>(a.x), static_cast<float>(a.y), static_cast<float>(b.x),
                      static_cast<float>(b.y), width, position);
}

// The outline edges and the fan's diagonals from the first point: every
// edge of every fan triangle, the closing edge included.
void fanEdges(const GrPoint* p, int count, float width, float** position)
{
    for (int i = 1; i < count; ++i)
        band(p[i - 1], p[i], width, position);
    for (int i = 2; i < count; ++i)
        band(p[0], p[i], width, position);
}

// Every edge of every strip triangle.
void stripEdges(const GrPoint* p, int count, float width, float** position)
{
    for (int i = 0; i + 2 < count; ++i) {
        band(p[i], p[i + 1], width, position);
        band(p[i], p[i + 2], width, position);
    }
    band(p[count - 2], p[count - 1], width, position);
}

// Bands of twice the border width centred on the edges, so that bw of
// each shows outside once the fill is drawn over them. False when there is
// no room for them: the shape is then not drawn at all.
bool drawEdgeBorder(const GrPoint* points, int count, EdgeWriter edges)
{
    const long long needed = 6LL * (2LL * count - 3);
    if (needed > kMaxScratchPairs || !ensureVertexScratch(static_cast<int>(needed)))
        return false;
    float* const start = g_draw.vertexScratch.data;
    float* position = start;
    edges(points, count, 2 * g_draw.borderWidth, &position);
    drawVertices(Primitive::Triangles, start, static_cast<int>((position - start) / 2), g_draw.borderColor);
    return true;
}

void drawPoints(const GrPoint* points, int count, Primitive mode)
{
    if (!ensureVertexScratch(count))
        return;
    float* v = g_draw.vertexScratch.data;
    for (int i = 0; i < count; ++i) {
        v[2 * i] = static_cast<float>(points[i].x);
        v[2 * i + 1] = static_cast<float>(points[i].y);
    }
    drawVertices(mode, v, count, g_draw.color);
}

void fillWithBorder(const GrPoint* points, int count, Primitive mode, EdgeWriter edges)
{
    if (count < 0 || (count > 0 && !points)) {
        ++g_draw.diagnostics.rejectedShapes;
        return;
    }
    if (count < 2)
        return;
    if (g_draw.border && !drawEdgeBorder(points, count, edges))
        return;
    if (count >= 3)
        drawPoints(points, count, mode);
    GR_CHECK_GL("polygon");
}

}  // namespace

void grPolygon(const GrPoint* points, int count) { fillWithBorder(points, count, Primitive::TriangleFan, fanEdges); }

void grTriangleStrip(const GrPoint* points, int count)
{
    fillWithBorder(points, count, Primitive::TriangleStrip, stripEdges);
}
