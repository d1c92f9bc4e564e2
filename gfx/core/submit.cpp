#include "submit.h"

#include "batch.h"
#include "gl_state.h"

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
    if (batching()) {
        batchDraw(mode, vertices, nullptr, count, *color);
        return;
    }
    // One colour call a part, even when it repeats the current colour: the
    // per-part call sequence is part of the library's contract.
    glColor3ub(color->r, color->g, color->b);
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glDrawArrays(mode, 0, count);
    ++g_draw.counters.draws;
    g_draw.counters.vertices += count;
}

void drawTexturedVertices(GLenum mode, const float* vertices, const float* texCoords, int count,
                          const GrColor* color)
{
    if (!color || count <= 0)
        return;
    if (batching()) {
        batchDraw(mode, vertices, texCoords, count, *color);
        return;
    }
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
    drawVertices(mode, vertices, count, color);
}

DashScope::DashScope(bool dashed) : dashed_(dashed)
{
    if (!dashed_)
        return;
    gls::enable(GL_TEXTURE_1D);
    gls::enableTexCoordArray();
    gls::enable(GL_BLEND);
}

DashScope::~DashScope()
{
    if (!dashed_)
        return;
    gls::disable(GL_TEXTURE_1D);
    gls::disableTexCoordArray();
    gls::disable(GL_BLEND);
}
