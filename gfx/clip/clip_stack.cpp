#include <limits>

#include "clip_apply.h"

namespace {

enum class Mechanism { None, HalfPlane, Rect, Stencil };

// A restored state brings back one mechanism only, the first it has active.
Mechanism firstActive(const ClipState& s)
{
    if (s.halfPlaneActive)
        return Mechanism::HalfPlane;
    if (s.rectActive)
        return Mechanism::Rect;
    if (s.stencilActive)
        return Mechanism::Stencil;
    return Mechanism::None;
}

// Switches off whatever the current state has on that the restored
// mechanism does not overwrite, so that nothing stays in force in GL
// that the restored state does not know about.
void clearForRestore(const ClipState& current, Mechanism restored)
{
    switch (restored) {
    case Mechanism::HalfPlane:  // rewrites plane 0
        if (current.rectActive)
            disableClipPlanes(1, 3);
        if (current.stencilActive)
            backend().disableStencil();
        break;
    case Mechanism::Rect:  // rewrites planes 0..3
        if (current.stencilActive)
            backend().disableStencil();
        break;
    case Mechanism::Stencil:
        if (current.rectActive)
            disableClipPlanes(0, 3);
        else if (current.halfPlaneActive)
            disableClipPlanes(0, 0);
        break;
    case Mechanism::None:
        disableClipPlanes(0, 3);
        backend().disableStencil();
        break;
    }
}

void reapply(const ClipState& s, Mechanism m)
{
    switch (m) {
    case Mechanism::HalfPlane:
        applyHalfPlane(s.halfPlaneSide, s.halfPlaneValue);
        break;
    case Mechanism::Rect:
        applyRect(s.rectX1, s.rectY1, s.rectX2, s.rectY2);
        break;
    case Mechanism::Stencil:
        applyStencil(s.stencilMode, s.stencilRef);
        break;
    case Mechanism::None:
        break;
    }
}

}  // namespace

// clipIndex counts pushes beyond the stack too, so that the pops matching
// ignored pushes are ignored as well and later pops stay paired.
void grPushClip(int)
{
    if (g_draw.clipIndex >= GR_MAX_CLIP_DEPTH - 1) {
        ++g_draw.diagnostics.clipOverflows;
        if (g_draw.clipIndex < std::numeric_limits<int>::max())
            ++g_draw.clipIndex;
        return;
    }
    ++g_draw.clipIndex;
    g_draw.clipStack[g_draw.clipIndex] = g_draw.clip;
}

void grPopClip(int)
{
    if (g_draw.clipIndex < 0) {
        ++g_draw.diagnostics.clipUnderflows;
        return;
    }
    const int index = g_draw.clipIndex--;
    if (index >= GR_MAX_CLIP_DEPTH)
        return;
    backend().clipWillChange();
    const ClipState& saved = g_draw.clipStack[index];
    const Mechanism restored = firstActive(saved);
    clearForRestore(g_draw.clip, restored);
    reapply(saved, restored);
    g_draw.clip = saved;
    GR_CHECK_GL("pop clip");
}
