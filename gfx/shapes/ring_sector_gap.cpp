#include "ring_sector_gap.h"

#include <cmath>

#include "segments.h"

TriangleList<6> ringSectorEdgeBorder(Vec2f c, float rI, float rO, float bw, float p, float q)
{
    const float g = (kTwoPi - (q - p)) / 2;
    // The angle the border width takes up at the inner radius.
    const float e = static_cast<float>(std::atan2(static_cast<double>(bw), static_cast<double>(rI)));
    const Vec2f bisector = unitAt((p + q) / 2 + kPi);
    const float cosG = cosOf(g);
    const float sinG = sinOf(g);
    const Vec2f pi = c + (rI / cosG) * bisector;
    const Vec2f po = c + (rO / cosG) * bisector;
    const Vec2f x = c + (bw / sinG) * bisector;

    TriangleList<6> t;
    const Vec2f up = unitAt(p);
    const Vec2f uq = unitAt(q);
    const struct {
        Vec2f u, o;
    } edges[2] = {{up, {bw * up.y, -bw * up.x}}, {uq, {-bw * uq.y, bw * uq.x}}};
    for (const auto& edge : edges) {
        const Vec2f in = c + rI * edge.u;
        const Vec2f out = c + rO * edge.u;
        if (e <= g) {
            const Vec2f quad[4] = {in, out, out + edge.o, in + edge.o};
            t.polygon(quad, 4);
        } else if (rO / cosG < bw / sinG) {
            const Vec2f quad[4] = {in, out, po, pi};
            t.polygon(quad, 4);
        } else {
            const Vec2f pentagon[5] = {in, out, out + edge.o, x, pi};
            t.polygon(pentagon, 5);
        }
    }
    return t;
}
