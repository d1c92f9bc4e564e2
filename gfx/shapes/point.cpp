#include <cmath>

#include "disc.h"
#include "rect.h"
#include "state.h"

// Inset of a square dot's lower left corner from its point, so that odd
// sizes centre on the point's pixel: (trunc(w + 0.5) - 1) / 2, truncating.
// Computed in double so that no width overflows an integer.
static float squareDotInset(float w)
{
    const double rounded = std::trunc(static_cast<double>(w + 0.5f));
    return static_cast<float>(std::trunc((rounded - 1.0) / 2.0));
}

void grPoint(int x, int y)
{
    const float w = g_draw.lineWidth;
    if (!(w > 0.0f))
        return;
    if (!std::isfinite(w)) {
        ++g_draw.diagnostics.rejectedShapes;
        return;
    }
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    if (g_draw.antialias) {
        fillDisc(px, py, w / 2);
        return;
    }
    const float h = squareDotInset(w);
    fillRect(px - h, py - h, px - h + w, py - h + w);
}
