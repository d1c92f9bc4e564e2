#include "rect.h"

#include "submit.h"

static void fillSpan(float a, float b, float* lo, float* hi)
{
    if (b >= a) {
        *lo = a - 0.5f;
        *hi = b - 0.5f;
    } else {
        *lo = b + 0.5f;
        *hi = a + 0.5f;
    }
}

void fillRect(float x1, float y1, float x2, float y2)
{
    float xa, xb, ya, yb;
    fillSpan(x1, x2, &xa, &xb);
    fillSpan(y1, y2, &ya, &yb);
    const float body[] = {xa, ya, xa, yb, xb, ya, xb, yb};
    drawVertices(GL_TRIANGLE_STRIP, body, 4, g_draw.color);
    if (g_draw.border) {
        const float bw = g_draw.borderWidth;
        const float frame[] = {
            xa - bw, ya - bw, xa, ya, xb + bw, ya - bw, xb, ya, xb + bw, yb + bw,
            xb,      yb,      xa - bw, yb + bw, xa, yb, xa - bw, ya - bw, xa, ya,
        };
        drawVertices(GL_TRIANGLE_STRIP, frame, 10, g_draw.borderColor);
    }
    GR_CHECK_GL("fill rect");
}

void grRect(int x1, int y1, int x2, int y2)
{
    if (x1 == x2 || y1 == y2)
        return;
    if (g_draw.fill)
        fillRect(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                 static_cast<float>(y2));
}
