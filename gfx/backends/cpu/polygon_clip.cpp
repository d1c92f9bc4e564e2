#include "polygon_clip.h"

#include <algorithm>
#include <utility>

namespace cpu {

namespace {

double distance(const HalfPlane& p, const RasterVertex& v) { return p.a * v.x + p.b * v.y + p.c; }

RasterVertex between(const RasterVertex& from, const RasterVertex& to, double t)
{
    auto mix = [t](float a, float b) { return static_cast<float>(a + (b - a) * t); };
    return {mix(from.x, to.x), mix(from.y, to.y), mix(from.s, to.s), mix(from.t, to.t)};
}

}  // namespace

int clipTriangle(const RasterVertex* triangle, const HalfPlane* planes, int planeCount, RasterVertex* out)
{
    RasterVertex buffers[2][kMaxClippedVertices];
    std::copy(triangle, triangle + 3, buffers[0]);
    int count = 3;
    int current = 0;
    for (int i = 0; i < planeCount && count > 0; ++i) {
        const RasterVertex* in = buffers[current];
        RasterVertex* next = buffers[1 - current];
        int kept = 0;
        for (int j = 0; j < count; ++j) {
            const RasterVertex& a = in[j];
            const RasterVertex& b = in[(j + 1) % count];
            const double da = distance(planes[i], a);
            const double db = distance(planes[i], b);
            if (da >= 0)
                next[kept++] = a;
            // Each corner is cut from the inside end, so that both
            // triangles sharing an edge get the same point on it.
            if ((da >= 0) != (db >= 0))
                next[kept++] = da >= 0 ? between(a, b, da / (da - db)) : between(b, a, db / (db - da));
        }
        count = kept;
        current = 1 - current;
    }
    std::copy(buffers[current], buffers[current] + count, out);
    return count;
}

}  // namespace cpu
