#include "arc.h"

#include <cmath>

#include "segments.h"
#include "stroke.h"
#include "submit.h"

void strokeArc(float cx, float cy, float r, const Sweep& sweep, float angle, bool dashed)
{
    const bool border = g_draw.border != 0;
    const float bw = border ? g_draw.borderWidth : 0.0f;
    StrokeSet strokes(sweep, cx, cy, border, dashed);
    strokes.add(strokeRadii(r, g_draw.lineWidth / 2, bw, 0.0f, kNoRadiusLimit),
                dashAlong(0.0f, r, angle, sweep.segments()));
    if (!strokes.build())
        return;
    DashScope scope(dashed);
    strokes.drawBody(0);
    strokes.drawBorders(0);
    GR_CHECK_GL("arc");
}

static void drawArc(float cx, float cy, float r, float startDeg, float sweepDeg)
{
    if (!acceptRadius(r) || !acceptSweep(startDeg, sweepDeg))
        return;
    if (!(r > 0.0f) || sweepDeg == 0.0f)
        return;
    const OutlineStyle style = outlineStyle();
    if (style == OutlineStyle::Hidden)
        return;
    const float sweep = clampSweep(sweepDeg);
    const float b = g_draw.border ? g_draw.borderWidth : 0.0f;
    const int n = arcSegments(r + g_draw.lineWidth / 2 + b, sweep);
    const float sweepRad = sweep * kDegToRad;
    strokeArc(cx, cy, r, Sweep::accumulated(startDeg * kDegToRad, sweepRad, n), std::fabs(sweepRad),
              style == OutlineStyle::Dashed);
}

void grArc(int cx, int cy, int r, float startDeg, float sweepDeg)
{
    drawArc(static_cast<float>(cx), static_cast<float>(cy), static_cast<float>(r), startDeg, sweepDeg);
}
