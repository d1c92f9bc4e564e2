#include <cmath>

#include "disc.h"
#include "quads.h"
#include "sector_border.h"
#include "segments.h"
#include "stroke.h"
#include "submit.h"

namespace {

struct Sector {
    Vec2f c;
    float r;
    float start;  // radians
    float sweep;  // radians, signed, clamped to a full turn
    bool partial;
};

void fillSector(const Sector& s, const Sweep& sweep)
{
    if (!drawRimmedFan(sweep, s.c.x, s.c.y, s.r))
        return;
    if (g_draw.border && s.partial) {
        const TriangleList<6> radii =
            sectorRadialBorder(s.c, s.r, g_draw.borderWidth, minf(s.start, s.start + s.sweep), std::fabs(s.sweep));
        drawVertices(Primitive::Triangles, radii.v, radii.count, g_draw.borderColor);
    }
    GR_CHECK_GL("sector fill");
}

// The radius from the centre to p as a line: the centre end is moved back
// half a unit like a line's start, the end at the rim stays.
EdgeRun radius(Vec2f c, Vec2f p, float sc, float sp)
{
    float dx, dy, length;
    if (!segmentDirection(c.x, c.y, p.x, p.y, &dx, &dy, &length))
        return {p, p, sc, sp};
    return {c - 0.5f * Vec2f{dx, dy}, p, sc, sp};
}

// The outline: both radii and the arc, with one dash pattern running from
// the centre out along the first radius, round the arc and back in along the
// second.
void outlineSector(const Sector& s, const Sweep& sweep, bool dashed)
{
    const bool border = g_draw.border != 0;
    const float w = g_draw.lineWidth;
    const float bw = border ? g_draw.borderWidth : 0.0f;
    const float angle = std::fabs(s.sweep);
    const float rimStart = s.r / dashLength();
    const float rimEnd = rimStart + s.r * angle / dashLength();

    StrokeSet strokes(sweep, s.c.x, s.c.y, border, dashed);
    strokes.add(strokeRadii(s.r, w / 2, bw, 0.0f, kNoRadiusLimit),
                dashAlong(rimStart, s.r, angle, sweep.segments()));
    if (!strokes.build())
        return;

    EdgeOutline edges(dashed);
    if (s.partial) {
        edges.add(radius(s.c, s.c + s.r * unitAt(s.start), 0.0f, rimStart), w, bw, border);
        edges.add(radius(s.c, s.c + s.r * unitAt(s.start + s.sweep), rimEnd + rimStart, rimEnd), w, bw, border);
    }

    DashScope scope(dashed);
    if (border) {
        edges.sides.draw(g_draw.borderColor);
        strokes.drawBorders(0);
    }
    edges.bodies.draw(g_draw.color);
    strokes.drawBody(0);
    GR_CHECK_GL("sector outline");
}

void drawSector(float cx, float cy, float r, float startDeg, float sweepDeg)
{
    if (!acceptRadius(r) || !acceptSweep(startDeg, sweepDeg))
        return;
    if (!(r > 0.0f) || sweepDeg == 0.0f)
        return;
    const bool fill = g_draw.fill != 0;
    const OutlineStyle style = outlineStyle();
    if (!fill && style == OutlineStyle::Hidden)
        return;
    const float clamped = clampSweep(sweepDeg);
    const Sector s = {{cx, cy}, r, startDeg * kDegToRad, clamped * kDegToRad,
                      sweepDeg > -360.0f && sweepDeg < 360.0f};
    const float b = g_draw.border ? g_draw.borderWidth : 0.0f;
    const int n = arcSegments(r + (fill ? 0.0f : g_draw.lineWidth / 2) + b, clamped);
    const Sweep sweep = Sweep::accumulated(s.start, s.sweep, n);
    if (fill)
        fillSector(s, sweep);
    else
        outlineSector(s, sweep, style == OutlineStyle::Dashed);
}

}  // namespace

void grSector(int cx, int cy, int r, float startDeg, float sweepDeg)
{
    drawSector(static_cast<float>(cx), static_cast<float>(cy), static_cast<float>(r), startDeg, sweepDeg);
}
