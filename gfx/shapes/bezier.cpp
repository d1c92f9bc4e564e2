#include <cmath>

#include "quads.h"
#include "scratch.h"
#include "segments.h"
#include "submit.h"

namespace {

constexpr int kMinControlPoints = 2;
constexpr int kMaxControlPoints = 8;
constexpr int kMinSegments = 2;
// Far finer than any pixel needs; keeps the scratch request bounded.
constexpr int kMaxSegments = 100000;

// C(d, i) for the degrees 1..7 (row d).
constexpr float kBinomial[kMaxControlPoints][kMaxControlPoints] = {
    {1},
    {1, 1},
    {1, 2, 1},
    {1, 3, 3, 1},
    {1, 4, 6, 4, 1},
    {1, 5, 10, 10, 5, 1},
    {1, 6, 15, 20, 15, 6, 1},
    {1, 7, 21, 35, 35, 21, 7, 1},
};

struct CurvePoint {
    float x, y;
};

struct Curve {
    const GrPoint* points;
    int count;
    int segments;
};

// Where a curve goes: the body strip, the left and right border strips
// (null without border) and, when dashed, texture coordinates for the body
// and one set the two border strips share.
struct CurveTarget {
    float* body;
    float* left;
    float* right;
    float* bodyTex;
    float* borderTex;
};

float power(float base, int exponent)
{
    float result = 1.0f;
    for (int i = 0; i < exponent; ++i)
        result *= base;
    return result;
}

// Sample k of 0..segments, every product rounded to float; t = 1 gives
// the last control point exactly.
CurvePoint sample(const Curve& c, int k)
{
    if (k == 0)
        return {static_cast<float>(c.points[0].x), static_cast<float>(c.points[0].y)};
    const float t = static_cast<float>(k) / static_cast<float>(c.segments);
    const float s = 1.0f - t;
    const int degree = c.count - 1;
    CurvePoint q = {0.0f, 0.0f};
    for (int i = 0; i <= degree; ++i) {
        const float weight = kBinomial[degree][i] * power(s, degree - i) * power(t, i);
        q.x += weight * static_cast<float>(c.points[i].x);
        q.y += weight * static_cast<float>(c.points[i].y);
    }
    return q;
}

// Angle of the bisector on the left of the path through prev, cur, next.
float leftBisector(CurvePoint prev, CurvePoint cur, CurvePoint next)
{
    float back = std::atan2(prev.y - cur.y, prev.x - cur.x);
    float ahead = std::atan2(next.y - cur.y, next.x - cur.x);
    if (back < 0.0f)
        back += kTwoPi;
    if (ahead < 0.0f)
        ahead += kTwoPi;
    if (ahead > back)
        back += kTwoPi;
    return (back + ahead) / 2;
}

void put(float* out, int index, float x, float y)
{
    out[2 * index] = x;
    out[2 * index + 1] = y;
}

// The vertices of sample k at q, (lx, ly) being the unit offset to the left
// and s its texture coordinate.
void writeSample(const CurveTarget& out, int k, CurvePoint q, float lx, float ly, float s)
{
    const float hw = g_draw.lineWidth / 2;
    const float hb = hw + g_draw.borderWidth;
    const CurvePoint right = {q.x - hw * lx, q.y - hw * ly};
    const CurvePoint left = {q.x + hw * lx, q.y + hw * ly};
    put(out.body, 2 * k, right.x, right.y);
    put(out.body, 2 * k + 1, left.x, left.y);
    if (out.left) {
        put(out.left, 2 * k, left.x, left.y);
        put(out.left, 2 * k + 1, q.x + hb * lx, q.y + hb * ly);
        put(out.right, 2 * k, right.x, right.y);
        put(out.right, 2 * k + 1, q.x - hb * lx, q.y - hb * ly);
    }
    if (out.bodyTex) {
        put(out.bodyTex, 2 * k, s, g_draw.lineWidth);
        put(out.bodyTex, 2 * k + 1, s, 0.0f);
    }
    if (out.borderTex) {
        put(out.borderTex, 2 * k, s, 0.0f);
        put(out.borderTex, 2 * k + 1, s, g_draw.borderWidth);
    }
}

// Samples closer than this to the previous one are float noise around a
// point where the curve comes to rest: they carry no direction.
constexpr float kMinChord = 1.0f / 1024;

// The first sample after index k farther than kMinChord from the point
// from, or -1.
int nextDistinct(const Curve& c, int k, CurvePoint from, CurvePoint* out)
{
    for (int j = k + 1; j <= c.segments; ++j) {
        const CurvePoint q = sample(c, j);
        if (std::hypot(q.x - from.x, q.y - from.y) > kMinChord) {
            *out = q;
            return j;
        }
    }
    return -1;
}

// Samples the curve into out, skipping repeated samples, and returns the
// number of samples written: 0 when all of them coincide.
int buildCurve(const Curve& c, const CurveTarget& out, float patternLength)
{
    CurvePoint prev = sample(c, 0);
    CurvePoint cur;
    int k = nextDistinct(c, 0, prev, &cur);
    float dc, ds, chord;
    if (k < 0 || !segmentDirection(prev.x, prev.y, cur.x, cur.y, &dc, &ds, &chord))
        return 0;
    writeSample(out, 0, {prev.x - dc / 2, prev.y - ds / 2}, -ds, dc, 0.0f);
    float s = chord / patternLength;
    int written = 1;
    CurvePoint next;
    while ((k = nextDistinct(c, k, cur, &next)) >= 0) {
        if (!segmentDirection(cur.x, cur.y, next.x, next.y, &dc, &ds, &chord))
            return 0;
        const double phi = leftBisector(prev, cur, next);
        writeSample(out, written++, cur, static_cast<float>(std::cos(phi)), static_cast<float>(std::sin(phi)), s);
        s += chord / patternLength;
        prev = cur;
        cur = next;
    }
    // The end moves back along the last chord, as a line's does.
    writeSample(out, written++, {cur.x - dc / 2, cur.y - ds / 2}, -ds, dc, s);
    return written;
}

void drawStrip(const float* vertices, const float* texCoords, int count, const GrColor* color)
{
    if (texCoords)
        drawTexturedVertices(Primitive::TriangleStrip, vertices, texCoords, count, color);
    else
        drawVertices(Primitive::TriangleStrip, vertices, count, color);
}

void drawCurve(const Curve& c, bool dashed)
{
    const bool border = g_draw.border != 0;
    const int strip = 2 * c.segments + 2;
    const int vertexCount = strip * (border ? 3 : 1);
    const int texCount = strip * (border ? 2 : 1);
    if (dashed ? !ensureScratchPair(vertexCount, texCount) : !ensureVertexScratch(vertexCount))
        return;
    float* const v = g_draw.vertexScratch.data;
    float* const t = dashed ? g_draw.texCoordScratch.data : nullptr;
    const int stride = 2 * strip;
    const CurveTarget out = {v, border ? v + stride : nullptr, border ? v + 2 * stride : nullptr, t,
                             dashed && border ? t + stride : nullptr};
    const int samples = buildCurve(c, out, dashed ? dashLength() : 1.0f);
    if (samples == 0) {
        ++g_draw.diagnostics.rejectedShapes;
        return;
    }

    DashScope scope(dashed);
    const int count = 2 * samples;
    drawStrip(v, t, count, g_draw.color);
    if (border) {
        drawStrip(out.left, out.borderTex, count, g_draw.borderColor);
        drawStrip(out.right, out.borderTex, count, g_draw.borderColor);
    }
    GR_CHECK_GL("bezier");
}

bool acceptable(const GrPoint* points, int count, int segments)
{
    return points && count >= kMinControlPoints && count <= kMaxControlPoints && segments >= kMinSegments &&
           segments <= kMaxSegments;
}

}  // namespace

void grBezier(const GrPoint* points, int count, int segments)
{
    if (!acceptable(points, count, segments)) {
        ++g_draw.diagnostics.rejectedShapes;
        return;
    }
    const Curve curve = {points, count, segments};
    switch (outlineStyle()) {
    case OutlineStyle::Solid:
        drawCurve(curve, false);
        break;
    case OutlineStyle::Dashed:
        drawCurve(curve, true);
        break;
    case OutlineStyle::Hidden:
        break;
    }
}
