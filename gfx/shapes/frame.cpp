#include "frame.h"

namespace {

// Corner k (0..3, counter-clockwise from the lower left), wrapping round.
void corner(const RectEdges& r, int k, float* out)
{
    const int i = k % 4;
    out[0] = i == 1 || i == 2 ? r.xh : r.xl;
    out[1] = i >= 2 ? r.yh : r.yl;
}

}  // namespace

RectEdges grownBy(const RectEdges& r, float d) { return {r.xl - d, r.yl - d, r.xh + d, r.yh + d}; }

void writeFrameStrip(float* out, const RectEdges& outer, const RectEdges& inner)
{
    for (int k = 0; k <= 4; ++k) {
        corner(outer, k, out + 4 * k);
        corner(inner, k, out + 4 * k + 2);
    }
}

void writeFrameTriangles(float* out, const RectEdges& outer, const RectEdges& inner)
{
    for (int k = 0; k < 4; ++k, out += 12) {
        corner(outer, k, out);
        corner(inner, k, out + 2);
        corner(outer, k + 1, out + 4);
        corner(inner, k, out + 6);
        corner(outer, k + 1, out + 8);
        corner(inner, k + 1, out + 10);
    }
}
