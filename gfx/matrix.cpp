#include "state.h"

void grPushMatrix(int)
{
    if (g_draw.matrixIndex + 1 >= GR_MAX_MATRIX_DEPTH) {
        ++g_draw.diagnostics.matrixOverflows;
        return;
    }
    ++g_draw.matrixIndex;
    glGetFloatv(GL_MODELVIEW_MATRIX, g_draw.matrixStack[g_draw.matrixIndex]);
}

void grPopMatrix(int)
{
    if (g_draw.matrixIndex < 0) {
        ++g_draw.diagnostics.matrixUnderflows;
        return;
    }
    glLoadMatrixf(g_draw.matrixStack[g_draw.matrixIndex]);
    --g_draw.matrixIndex;
}

void grTranslate(int dx, int dy)
{
    glTranslatef(static_cast<float>(dx), static_cast<float>(dy), 0.0f);
}

void grRotate(float degrees) { glRotatef(degrees, 0.0f, 0.0f, 1.0f); }

void grScale(float sx, float sy) { glScalef(sx, sy, 1.0f); }
