#include "submit.h"

OutlineStyle outlineStyle()
{
    if (!g_draw.pattern || g_draw.pattern->mask == 0xFFFF)
        return OutlineStyle::Solid;
    return g_draw.patternTexture ? OutlineStyle::Dashed : OutlineStyle::Hidden;
}

float dashLength() { return g_draw.patternTexture ? g_draw.patternTexture->length : 16.0f; }

void drawVertices(GLenum mode, const float* vertices, int count, const GrColor* color)
{
    if (!color || count <= 0)
        return;
    glColor3ub(color->r, color->g, color->b);
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glDrawArrays(mode, 0, count);
}

void drawTexturedVertices(GLenum mode, const float* vertices, const float* texCoords, int count,
                          const GrColor* color)
{
    if (!color || count <= 0)
        return;
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
    drawVertices(mode, vertices, count, color);
}

DashScope::DashScope(bool dashed) : dashed_(dashed)
{
    if (!dashed_)
        return;
    glEnable(GL_TEXTURE_1D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_BLEND);
}

DashScope::~DashScope()
{
    if (!dashed_)
        return;
    glDisable(GL_TEXTURE_1D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_BLEND);
}
