#include "submit.h"


OutlineStyle outlineStyle()
{
    if (!g_draw.pattern || g_draw.pattern->mask == 0xFFFF)
        return OutlineStyle::Solid;
    return g_draw.patternTexture ? OutlineStyle::Dashed : OutlineStyle::Hidden;
}

float dashLength() { return g_draw.patternTexture ? g_draw.patternTexture->length : 16.0f; }

void drawVertices(Primitive mode, const float* vertices, int count, const GrColor* color)
{
    drawTexturedVertices(mode, vertices, nullptr, count, color);
}

void drawTexturedVertices(Primitive mode, const float* vertices, const float* texCoords, int count,
                          const GrColor* color)
{
    if (!color || count <= 0)
        return;
    backend().draw({mode, vertices, texCoords, count, *color, false});
}

DashScope::DashScope(bool dashed) : dashed_(dashed)
{
    if (!dashed_)
        return;
    backend().setCapability(Capability::PatternTexture, true);
    backend().setCapability(Capability::TexCoords, true);
    backend().setCapability(Capability::Blend, true);
}

DashScope::~DashScope()
{
    if (!dashed_)
        return;
    backend().setCapability(Capability::PatternTexture, false);
    backend().setCapability(Capability::TexCoords, false);
    backend().setCapability(Capability::Blend, false);
}
