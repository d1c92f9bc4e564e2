#include <algorithm>

#include "clip_apply.h"

void grClipHalfPlane(int side, int value)
{
    if (!validHalfPlaneSide(side)) {
        ++g_draw.diagnostics.rejectedShapes;
        return;
    }
    backend().clipWillChange();
    ClipState& clip = g_draw.clip;
    clip.halfPlaneActive = 1;
    clip.halfPlaneSide = side;
    clip.halfPlaneValue = value;
    applyHalfPlane(side, value);
    GR_CHECK_GL("clip half-plane");
}

void grClipRect(int x1, int y1, int x2, int y2)
{
    // Corners in either order name the same rectangle, as for grRect.
    backend().clipWillChange();
    ClipState& clip = g_draw.clip;
    clip.rectActive = 1;
    clip.rectX1 = std::min(x1, x2);
    clip.rectY1 = std::min(y1, y2);
    clip.rectX2 = std::max(x1, x2);
    clip.rectY2 = std::max(y1, y2);
    applyRect(clip.rectX1, clip.rectY1, clip.rectX2, clip.rectY2);
    GR_CHECK_GL("clip rect");
}

static void useStencil(int mode, int ref)
{
    halfPlaneOff();
    rectOff();
    ClipState& clip = g_draw.clip;
    clip.stencilActive = 1;
    clip.stencilMode = mode;
    clip.stencilRef = ref;
    applyStencil(mode, ref);
}

constexpr int kWriteMask = 0;
constexpr int kTestMask = 1;

void grClipOp(int op)
{
    if (op >= 0 && op <= 7)
        backend().clipWillChange();
    switch (op) {
    case 0:  // no clipping
        halfPlaneOff();
        rectOff();
        stencilOff();
        break;
    case 1:  // draw only inside the mask
        useStencil(kTestMask, 1);
        break;
    case 2:  // draw only outside the mask
        useStencil(kTestMask, 0);
        break;
    case 3:  // start a new mask
        backend().clearStencil();
        useStencil(kWriteMask, 1);
        break;
    case 4:  // add to the mask
        useStencil(kWriteMask, 1);
        break;
    case 5:  // cut out of the mask
        useStencil(kWriteMask, 0);
        break;
    case 6:  // keep only the half-plane
        rectOff();
        stencilOff();
        break;
    case 7:  // keep only the rectangle
        halfPlaneOff();
        stencilOff();
        break;
    default:
        return;
    }
    GR_CHECK_GL("clip op");
}
