#include "sector_border.h"

#include "segments.h"

namespace {

struct Radii {
    Vec2f p1, p2;  // the radii's ends beyond the border band
    Vec2f o1, o2;  // outward normals of the radii, border width long
    float beta;    // the direction opposite the middle of the sector
};

// Up to a half turn the bands along the radii meet at the centre, closed by
// a parallelogram while the angle is sharp and by a mitre beyond.
void openSector(TriangleList<6>& t, Vec2f c, const Radii& e, float bw, float sweep)
{
    t.add(c + e.o1, c, e.p1 + e.o1);
    t.add(c, e.p1 + e.o1, e.p1);
    t.add(c + e.o2, c, e.p2 + e.o2);
    t.add(c, e.p2 + e.o2, e.p2);
    const Vec2f m = sweep <= kHalfPi ? c + e.o1 + e.o2
                                     : c + (bw / cosOf((kPi - sweep) / 2)) * unitAt(e.beta);
    t.add(c + e.o1, c, m);
    t.add(c + e.o2, c, m);
}

// Beyond a half turn the bands cross in the gap: they end where they meet
// on the gap's bisector, or where the bisector leaves the border's reach.
void narrowGap(TriangleList<6>& t, Vec2f c, const Radii& e, float rr, float bw, float sweep)
{
    const float h = (kTwoPi - sweep) / 2;
    const float meet = bw / sinOf(h);
    const float reach = rr / cosOf(h);
    if (reach >= meet) {
        const Vec2f m = c + meet * unitAt(e.beta);
        t.add(e.p1, e.p1 + e.o1, c);
        t.add(e.p1 + e.o1, c, m);
        t.add(e.p2, e.p2 + e.o2, c);
        t.add(e.p2 + e.o2, c, m);
    } else {
        const Vec2f m = c + reach * unitAt(e.beta);
        t.add(e.p1, c, m);
        t.add(e.p2, c, m);
    }
}

}  // namespace

TriangleList<6> sectorRadialBorder(Vec2f c, float r, float bw, float a1, float sweep)
{
    const float rr = r + bw;
    const float a2 = a1 + sweep;
    const Vec2f u1 = unitAt(a1);
    const Vec2f u2 = unitAt(a2);
    const Radii e = {c + rr * u1, c + rr * u2, {bw * u1.y, -bw * u1.x}, {-bw * u2.y, bw * u2.x},
                     (a1 + a2) / 2 + kPi};
    TriangleList<6> t;
    if (sweep <= kPi)
        openSector(t, c, e, bw, sweep);
    else
        narrowGap(t, c, e, rr, bw, sweep);
    return t;
}
