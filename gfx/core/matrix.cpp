#include <limits>

#include "state.h"

// matrixIndex counts pushes beyond the stack too, so that the pops matching
// ignored pushes are ignored as well and later pops stay paired.
void grPushMatrix(int)
{
    if (g_draw.matrixIndex >= GR_MAX_MATRIX_DEPTH - 1) {
        ++g_draw.diagnostics.matrixOverflows;
        if (g_draw.matrixIndex < std::numeric_limits<int>::max())
            ++g_draw.matrixIndex;
        return;
    }
    ++g_draw.matrixIndex;
    backend().getModelview(g_draw.matrixStack[g_draw.matrixIndex]);
}

void grPopMatrix(int)
{
    if (g_draw.matrixIndex < 0) {
        ++g_draw.diagnostics.matrixUnderflows;
        return;
    }
    const int index = g_draw.matrixIndex--;
    if (index < GR_MAX_MATRIX_DEPTH)
        backend().loadModelview(g_draw.matrixStack[index]);
}

void grTranslate(int dx, int dy)
{
    backend().translate(static_cast<float>(dx), static_cast<float>(dy));
}

void grRotate(float degrees)
{
    backend().rotate(degrees);
}

void grScale(float sx, float sy)
{
    backend().scale(sx, sy);
}
