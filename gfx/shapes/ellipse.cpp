#include "ellipse_rim.h"
#include "scratch.h"
#include "submit.h"

namespace {

struct Ellipse {
    float cx, cy, rx, ry;
};

// Where the outline draws write: the line band, the bands between the
// line's and the border's inner and outer edges, and, when dashed, one
// texture-coordinate set for the line band and one the border bands share.
struct OutlineTarget {
    float* body;
    float* innerBorder;
    float* outerBorder;
    float* bodyTex;
    float* borderTex;
};

void fillEllipse(const Ellipse& e)
{
    const bool border = g_draw.border != 0;
    const float bw = border ? g_draw.borderWidth : 0.0f;
    const int n = ellipseQuadrantSteps(e.rx + bw, e.ry + bw);
    const int fillCount = 12 * n;
    const int borderCount = border ? 24 * n : 0;
    if (!ensureVertexScratch(fillCount + borderCount))
        return;
    float* const data = g_draw.vertexScratch.data;
    float* fill = data;
    float* band = data + 2 * fillCount;
    RimRecord prev = ellipseRimRecord(e.rx, e.ry, 0, n, 0.0f, bw);
    for (int k = 1; k <= n; ++k) {
        const int j = ellipseRimIndex(k, n, RimSpacing::Lagging);
        const RimRecord cur = ellipseRimRecord(e.rx, e.ry, j, n, 0.0f, bw);
        const RimVec wedge[3] = {{0, 0}, prev.rim, cur.rim};
        fill = writeMirrored(fill, wedge, 3, e.cx, e.cy);
        if (border) {
            const RimVec quad[6] = {prev.borderOuter, prev.rim, cur.borderOuter,
                                    prev.rim,         cur.borderOuter, cur.rim};
            band = writeMirrored(band, quad, 6, e.cx, e.cy);
        }
        prev = cur;
    }
    drawVertices(Primitive::Triangles, data, fillCount, g_draw.color);
    if (border)
        drawVertices(Primitive::Triangles, data + 2 * fillCount, borderCount, g_draw.borderColor);
    GR_CHECK_GL("ellipse fill");
}

// Sum of the rim chords of one quadrant: a quarter of the pattern's run.
float quadrantLength(const Ellipse& e, int n, RimSpacing spacing)
{
    float length = 0.0f;
    for (int k = 1; k <= n; ++k)
        length += ellipseRimChord(e.rx, e.ry, ellipseRimIndex(k - 1, n, spacing), ellipseRimIndex(k, n, spacing), n);
    return length;
}

void writeOutlineStep(OutlineTarget& out, const RimRecord& a, const RimRecord& b, const Ellipse& e)
{
    const RimVec body[6] = {a.outer, a.inner, b.outer, a.inner, b.outer, b.inner};
    out.body = writeMirrored(out.body, body, 6, e.cx, e.cy);
    if (!out.innerBorder)
        return;
    const RimVec inner[6] = {a.inner, a.borderInner, b.inner, a.borderInner, b.inner, b.borderInner};
    const RimVec outer[6] = {a.outer, a.borderOuter, b.outer, a.borderOuter, b.outer, b.borderOuter};
    out.innerBorder = writeMirrored(out.innerBorder, inner, 6, e.cx, e.cy);
    out.outerBorder = writeMirrored(out.outerBorder, outer, 6, e.cx, e.cy);
}

// Texture coordinates of one step from s0 to s1; the second coordinate is
// 0 on the line's edge of a border band and the band's width on the other.
void writeOutlineStepTex(OutlineTarget& out, float s0, float s1, float halfTurn)
{
    const float w = g_draw.lineWidth;
    const float bw = g_draw.borderWidth;
    const RimVec body[6] = {{s0, w}, {s0, 0}, {s1, w}, {s0, 0}, {s1, w}, {s1, 0}};
    out.bodyTex = writeMirroredTexCoords(out.bodyTex, body, 6, halfTurn);
    if (!out.borderTex)
        return;
    const RimVec band[6] = {{s0, 0}, {s0, bw}, {s1, 0}, {s0, bw}, {s1, 0}, {s1, bw}};
    out.borderTex = writeMirroredTexCoords(out.borderTex, band, 6, halfTurn);
}

// Solid outlines step evenly; dashed ones lag as the fill does, which is
// where their pattern has always fallen.
void buildOutline(const Ellipse& e, int n, float hw, float bw, OutlineTarget out)
{
    const RimSpacing spacing = out.bodyTex ? RimSpacing::Lagging : RimSpacing::Even;
    const float length = out.bodyTex ? dashLength() : 1.0f;
    const float halfTurn = out.bodyTex ? 2 * quadrantLength(e, n, spacing) / length : 0.0f;
    float distance = 0.0f;
    float s0 = 0.0f;
    int from = 0;
    RimRecord prev = ellipseRimRecord(e.rx, e.ry, 0, n, hw, bw);
    for (int k = 1; k <= n; ++k) {
        const int j = ellipseRimIndex(k, n, spacing);
        const RimRecord cur = ellipseRimRecord(e.rx, e.ry, j, n, hw, bw);
        writeOutlineStep(out, prev, cur, e);
        if (out.bodyTex) {
            distance += ellipseRimChord(e.rx, e.ry, from, j, n);
            const float s1 = distance / length;
            writeOutlineStepTex(out, s0, s1, halfTurn);
            s0 = s1;
        }
        from = j;
        prev = cur;
    }
}

void drawRegion(const float* vertices, const float* texCoords, int count, const GrColor* color)
{
    if (texCoords)
        drawTexturedVertices(Primitive::Triangles, vertices, texCoords, count, color);
    else
        drawVertices(Primitive::Triangles, vertices, count, color);
}

void outlineEllipse(const Ellipse& e, bool dashed)
{
    const bool border = g_draw.border != 0;
    const float hw = g_draw.lineWidth / 2;
    const float bw = border ? g_draw.borderWidth : 0.0f;
    const int n = ellipseQuadrantSteps(e.rx + hw + bw, e.ry + hw + bw);
    const int region = 24 * n;
    const int vertexCount = region * (border ? 3 : 1);
    const int texCount = region * (border ? 2 : 1);
    if (dashed ? !ensureScratchPair(vertexCount, texCount) : !ensureVertexScratch(vertexCount))
        return;
    float* const v = g_draw.vertexScratch.data;
    float* const t = dashed ? g_draw.texCoordScratch.data : nullptr;
    const int stride = 2 * region;
    buildOutline(e, n, hw, bw,
                 {v, border ? v + stride : nullptr, border ? v + 2 * stride : nullptr, t,
                  dashed && border ? t + stride : nullptr});

    DashScope scope(dashed);
    drawRegion(v, t, region, g_draw.color);
    if (border) {
        const float* borderTex = dashed ? t + stride : nullptr;
        drawRegion(v + stride, borderTex, region, g_draw.borderColor);
        drawRegion(v + 2 * stride, borderTex, region, g_draw.borderColor);
    }
    GR_CHECK_GL("ellipse outline");
}

}  // namespace

void grEllipse(int cx, int cy, int rx, int ry)
{
    if (rx <= 0 || ry <= 0)
        return;
    const Ellipse e = {static_cast<float>(cx), static_cast<float>(cy), static_cast<float>(rx),
                       static_cast<float>(ry)};
    if (g_draw.fill) {
        fillEllipse(e);
        return;
    }
    switch (outlineStyle()) {
    case OutlineStyle::Solid:
        outlineEllipse(e, false);
        break;
    case OutlineStyle::Dashed:
        outlineEllipse(e, true);
        break;
    case OutlineStyle::Hidden:
        break;
    }
}
