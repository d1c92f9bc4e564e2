#include "clip_apply.h"

namespace {

struct Normal {
    double x, y;
};

// Half-plane sides 0..3 keep x >= v, x <= v, y <= v, y >= v.
const Normal kHalfPlaneNormals[] = {{1, 0}, {-1, 0}, {0, -1}, {0, 1}};

// Keeps the points p with n·p >= n·e + 0.5 for any point e on the edge
// line: the edge line's own pixels are clipped away.
void setEdgePlane(int plane, Normal n, double edge)
{
    const double equation[] = {n.x, n.y, 0.0, -(n.x + n.y) * edge - 0.5};
    backend().setClipPlane(plane, equation);
}

}  // namespace

bool validHalfPlaneSide(int side) { return side >= 0 && side <= 3; }

void applyHalfPlane(int side, int value)
{
    setEdgePlane(0, kHalfPlaneNormals[side], value);
    backend().enableClipPlane(0, true);
}

void applyRect(int x1, int y1, int x2, int y2)
{
    setEdgePlane(0, {1, 0}, x1);
    setEdgePlane(1, {0, 1}, y1);
    setEdgePlane(2, {-1, 0}, x2);
    setEdgePlane(3, {0, -1}, y2);
    for (int plane = 0; plane < kClipPlaneCount; ++plane)
        backend().enableClipPlane(plane, true);
}

void applyStencil(int mode, int ref)
{
    backend().setStencil(mode == 0 ? StencilMode::Write : StencilMode::Test, ref);
}

void disableClipPlanes(int first, int last)
{
    for (int i = first; i <= last; ++i)
        backend().enableClipPlane(i, false);
}

void halfPlaneOff()
{
    if (!g_draw.clip.halfPlaneActive)
        return;
    backend().enableClipPlane(0, false);
    g_draw.clip.halfPlaneActive = 0;
}

void rectOff()
{
    if (!g_draw.clip.rectActive)
        return;
    disableClipPlanes(0, 3);
    g_draw.clip.rectActive = 0;
}

void stencilOff()
{
    if (!g_draw.clip.stencilActive)
        return;
    backend().disableStencil();
    g_draw.clip.stencilActive = 0;
}
