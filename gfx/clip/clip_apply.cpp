#include "clip_apply.h"

namespace {

const GLenum kClipPlanes[] = {GL_CLIP_PLANE0, GL_CLIP_PLANE1, GL_CLIP_PLANE2, GL_CLIP_PLANE3};

struct Normal {
    double x, y;
};

// Half-plane sides 0..3 keep x >= v, x <= v, y <= v, y >= v.
const Normal kHalfPlaneNormals[] = {{1, 0}, {-1, 0}, {0, -1}, {0, 1}};

// Keeps the points p with n·p >= n·e + 0.5 for any point e on the edge
// line: the edge line's own pixels are clipped away.
void setEdgePlane(GLenum plane, Normal n, double edge)
{
    const GLdouble equation[] = {n.x, n.y, 0.0, -(n.x + n.y) * edge - 0.5};
    glClipPlane(plane, equation);
}

}  // namespace

bool validHalfPlaneSide(int side) { return side >= 0 && side <= 3; }

void applyHalfPlane(int side, int value)
{
    setEdgePlane(GL_CLIP_PLANE0, kHalfPlaneNormals[side], value);
    glEnable(GL_CLIP_PLANE0);
}

void applyRect(int x1, int y1, int x2, int y2)
{
    setEdgePlane(GL_CLIP_PLANE0, {1, 0}, x1);
    setEdgePlane(GL_CLIP_PLANE1, {0, 1}, y1);
    setEdgePlane(GL_CLIP_PLANE2, {-1, 0}, x2);
    setEdgePlane(GL_CLIP_PLANE3, {0, -1}, y2);
    for (GLenum plane : kClipPlanes)
        glEnable(plane);
}

void applyStencil(int mode, int ref)
{
    if (mode == 0) {
        glStencilFunc(GL_NEVER, ref, ~0u);
        glStencilOp(GL_REPLACE, GL_KEEP, GL_KEEP);
    } else {
        glStencilFunc(GL_EQUAL, ref, ~0u);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    }
    glEnable(GL_STENCIL_TEST);
}

void disableClipPlanes(int first, int last)
{
    for (int i = first; i <= last; ++i)
        glDisable(kClipPlanes[i]);
}

void halfPlaneOff()
{
    if (!g_draw.clip.halfPlaneActive)
        return;
    glDisable(GL_CLIP_PLANE0);
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
    glDisable(GL_STENCIL_TEST);
    g_draw.clip.stencilActive = 0;
}
