#include "rect_outline.h"
#include "scratch.h"
#include "segments.h"
#include "submit.h"

namespace {

enum { kRowVertices = 6, kSides = 4 };

// One side of the outline in its own frame: u runs along it from its start
// corner, v inward from its edge line. Sides follow each other
// counter-clockwise, so inward is the direction turned a quarter left.
struct Side {
    float x, y;
    float dx, dy;
    float length;
    float s0, s1;  // pattern coordinate at the start and the end
};

void sidePoint(const Side& side, float u, float v, float* out)
{
    out[0] = side.x + u * side.dx - v * side.dy;
    out[1] = side.y + u * side.dy + v * side.dx;
}

// The bottom side first, from (xl, yl); each next side is it turned a
// quarter, and the pattern coordinate runs on from the previous one.
void makeSides(const RectEdges& e, float patternLength, Side* sides)
{
    const float corners[kSides][2] = {{e.xl, e.yl}, {e.xh, e.yl}, {e.xh, e.yh}, {e.xl, e.yh}};
    const float lengths[2] = {e.xh - e.xl, e.yh - e.yl};
    float dx = 1.0f, dy = 0.0f, s = 0.0f;
    for (int i = 0; i < kSides; ++i) {
        const float length = lengths[i % 2];
        const float run = length / patternLength;
        sides[i] = {corners[i][0], corners[i][1], dx, dy, length, s, s + run};
        s += run;
        const float turned = dx;
        dx = -dy;
        dy = turned;
    }
}

// Rows of one pixel from v0 inward, none reaching past cap.
struct Band {
    float v0;
    float cap;
    int rows;
};

// A row's ends sit on the 45-degree mitre lines u = v and u = length - v,
// so the rows of neighbouring sides meet without gap or overlap, also where
// a row is cut short by the cap.
int writeSideRows(const Side& side, const Band& band, float* xy, float* st)
{
    float v = band.v0;
    for (int k = 0; k < band.rows; ++k, xy += 2 * kRowVertices, st += 2 * kRowVertices) {
        const float next = minf(band.cap, v + 1.0f);
        float a0[2], a1[2], b0[2], b1[2];
        sidePoint(side, v, v, a0);
        sidePoint(side, next, next, a1);
        sidePoint(side, side.length - v, v, b0);
        sidePoint(side, side.length - next, next, b1);
        const float* corners[kRowVertices] = {a0, a1, b0, a1, b0, b1};
        // Outer line 1, inner line 0; the start s at the a end, the end s at the b end.
        const float tex[2 * kRowVertices] = {side.s0, 1, side.s0, 0, side.s1, 1,
                                             side.s0, 0, side.s1, 1, side.s1, 0};
        for (int i = 0; i < kRowVertices; ++i) {
            xy[2 * i] = corners[i][0];
            xy[2 * i + 1] = corners[i][1];
            st[2 * i] = tex[2 * i];
            st[2 * i + 1] = tex[2 * i + 1];
        }
        v = next;
    }
    return kRowVertices * band.rows;
}

int writeBand(const Side* sides, const Band& band, float* xy, float* st)
{
    int n = 0;
    for (int i = 0; i < kSides; ++i)
        n += writeSideRows(sides[i], band, xy + 2 * n, st + 2 * n);
    return n;
}

// Whole one-pixel rows in a band of this width; false for NaN or a width
// whose rows no scratch buffer could hold.
bool rowCount(float width, int* rows)
{
    constexpr float kMaxRows = kMaxScratchPairs / (2 * kSides * kRowVertices);
    if (!(width < kMaxRows))
        return false;
    *rows = width >= 1.0f ? static_cast<int>(width) : 0;
    return true;
}

}  // namespace

void drawDashedRectOutline(const RectEdges& edges)
{
    int rows = 0, borderRows = 0;
    if (!rowCount(g_draw.lineWidth, &rows) || (g_draw.border && !rowCount(g_draw.borderWidth, &borderRows))) {
        ++g_draw.diagnostics.rejectedShapes;
        return;
    }
    const int needed = maxi(kSides * kRowVertices * rows, 2 * kSides * kRowVertices * borderRows);
    if (needed == 0 || !ensureScratchPair(needed, needed))
        return;

    Side sides[kSides];
    makeSides(edges, dashLength(), sides);
    const float w = g_draw.lineWidth;
    const float hw = w / 2;
    const float t = minf((edges.xh - edges.xl) / 2, (edges.yh - edges.yl) / 2);
    float* xy = g_draw.vertexScratch.data;
    float* st = g_draw.texCoordScratch.data;

    DashScope dash(true);
    drawTexturedVertices(Primitive::Triangles, xy, st, writeBand(sides, {-hw, t, rows}, xy, st), g_draw.color);
    if (borderRows == 0)
        return;
    const float bw = g_draw.borderWidth;
    int n = writeBand(sides, {-hw - bw, 0.0f, borderRows}, xy, st);
    if (edges.xh - edges.xl > w && edges.yh - edges.yl > w)
        n += writeBand(sides, {hw, t, borderRows}, xy + 2 * n, st + 2 * n);
    drawTexturedVertices(Primitive::Triangles, xy, st, n, g_draw.borderColor);
}
