#include "rect.h"

#include <cmath>

#include "rect_outline.h"
#include "submit.h"

namespace {

// The fill covers the first corner's pixel and stops short of the second's.
void fillSpan(float a, float b, float* lo, float* hi)
{
    if (b >= a) {
        *lo = a - 0.5f;
        *hi = b - 0.5f;
    } else {
        *lo = b + 0.5f;
        *hi = a + 0.5f;
    }
}

// An odd-width outline centres on the first corner's pixel row and on the
// row before the second corner's; an even one lies half a pixel inside both
// corners, so either covers whole pixels.
void outlineSpan(float a, float b, bool odd, float* lo, float* hi)
{
    if (b < a) {
        *lo = odd ? b + 1.0f : b + 0.5f;
        *hi = odd ? a : a - 0.5f;
    } else {
        *lo = odd ? a : a + 0.5f;
        *hi = odd ? b - 1.0f : b - 0.5f;
    }
}

bool oddPixelWidth(float width) { return std::fmod(std::trunc(static_cast<double>(width + 0.5f)), 2.0) != 0.0; }

void drawRectOutline(float x1, float y1, float x2, float y2)
{
    const OutlineStyle style = outlineStyle();
    if (style == OutlineStyle::Hidden)
        return;
    if (!std::isfinite(g_draw.lineWidth)) {
        ++g_draw.diagnostics.rejectedShapes;
        return;
    }
    const bool odd = oddPixelWidth(g_draw.lineWidth);
    RectEdges edges;
    outlineSpan(x1, x2, odd, &edges.xl, &edges.xh);
    outlineSpan(y1, y2, odd, &edges.yl, &edges.yh);
    if (style == OutlineStyle::Solid)
        drawSolidRectOutline(edges);
    else
        drawDashedRectOutline(edges);
    GR_CHECK_GL("rect outline");
}

}  // namespace

void fillRect(float x1, float y1, float x2, float y2)
{
    RectEdges body;
    fillSpan(x1, x2, &body.xl, &body.xh);
    fillSpan(y1, y2, &body.yl, &body.yh);
    const float strip[] = {body.xl, body.yl, body.xl, body.yh, body.xh, body.yl, body.xh, body.yh};
    drawVertices(Primitive::TriangleStrip, strip, 4, g_draw.color);
    if (g_draw.border) {
        float frame[2 * kFrameStripVertices];
        writeFrameStrip(frame, grownBy(body, g_draw.borderWidth), body);
        drawVertices(Primitive::TriangleStrip, frame, kFrameStripVertices, g_draw.borderColor);
    }
    GR_CHECK_GL("fill rect");
}

void grRect(int x1, int y1, int x2, int y2)
{
    if (x1 == x2 || y1 == y2)
        return;
    const float fx1 = static_cast<float>(x1), fy1 = static_cast<float>(y1);
    const float fx2 = static_cast<float>(x2), fy2 = static_cast<float>(y2);
    if (g_draw.fill)
        fillRect(fx1, fy1, fx2, fy2);
    else
        drawRectOutline(fx1, fy1, fx2, fy2);
}
