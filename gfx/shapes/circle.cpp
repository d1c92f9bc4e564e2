#include "arc.h"
#include "disc.h"
#include "segments.h"
#include "submit.h"

static void drawCircle(float cx, float cy, float r)
{
    if (!acceptRadius(r) || !(r > 0.0f))
        return;
    if (g_draw.fill) {
        fillDisc(cx, cy, r);
        return;
    }
    const OutlineStyle style = outlineStyle();
    if (style == OutlineStyle::Hidden)
        return;
    const float b = g_draw.border ? g_draw.borderWidth : 0.0f;
    const int n = circleSegments(r + g_draw.lineWidth / 2 + b);
    strokeArc(cx, cy, r, Sweep::fullTurn(n), kTwoPi, style == OutlineStyle::Dashed);
}

void grCircle(int cx, int cy, int r)
{
    drawCircle(static_cast<float>(cx), static_cast<float>(cy), static_cast<float>(r));
}
